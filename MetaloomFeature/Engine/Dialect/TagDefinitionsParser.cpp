#include "TagDefinitionsParser.h"

#include "MetaloomFeature/Platform/Error.h"

#include <QCoreApplication>
#include <QXmlStreamReader>
#include <optional>

namespace Metaloom::TagDefinitionsParser {

namespace {

// The attribute's value; empty when it is absent.
QString attributeText(const QXmlStreamAttributes &attributes, const char *name)
{
    return attributes.value(QLatin1String(name)).toString();
}

// "flags='Bag,List'": ExifTool marks every list tag "List"; "Bag", "Seq" and
// "Alt" come with it, and are taken alone too.
bool isListFlagged(QStringView flags)
{
    for (const QStringView flag : flags.split(u',')) {
        const QStringView trimmed = flag.trimmed();
        if (trimmed == u"List" || trimmed == u"Bag" || trimmed == u"Seq" || trimmed == u"Alt")
            return true;
    }
    return false;
}

// The state of one pass over the listing, driven by element starts, text
// and element ends in document order.
class Parser {
public:
    void startElement(QStringView name, const QXmlStreamAttributes &attributes)
    {
        if (name == u"table") {
            m_tableFamily1 = attributeText(attributes, "g1");
            m_tableFamily0 = attributeText(attributes, "g0");
        } else if (name == u"tag") {
            // The group ExifTool's "-G1" prints for this tag, so the key is the
            // one the editor shows: most tags carry no group of their own and
            // take their table's, and a family-1 group of the table names the
            // tag more precisely than the tag's own family-0 group.
            m_group = attributeText(attributes, "g1");
            if (m_group.isEmpty())
                m_group = m_tableFamily1;
            if (m_group.isEmpty())
                m_group = attributeText(attributes, "g0");
            if (m_group.isEmpty())
                m_group = m_tableFamily0;
            m_name =
                attributes.hasAttribute(QLatin1String("name"))
                    ? std::optional<QString>(attributes.value(QLatin1String("name")).toString())
                    : std::nullopt;
            m_collectingValues = false;
            m_options.clear();
            m_writable = !(attributes.hasAttribute(QLatin1String("writable")) &&
                           attributes.value(QLatin1String("writable"))
                                   .compare(QLatin1String("false"), Qt::CaseInsensitive) == 0);
            m_isList = isListFlagged(attributes.value(QLatin1String("flags")));
        } else if (name == u"values") {
            m_collectingValues = true;
            m_options.clear();
        } else if (name == u"key" && m_collectingValues) {
            m_keyId = attributes.value(QLatin1String("id")).toString();
            m_buffer.reset();
        } else if (name == u"val" && m_collectingValues) {
            if (attributes.hasAttribute(QLatin1String("lang"))) {
                if (attributes.value(QLatin1String("lang")) == u"en")
                    m_buffer = QString();
            } else if (!m_buffer) {
                m_buffer = QString();
            }
        }
    }

    void characters(QStringView text)
    {
        if (m_buffer)
            m_buffer->append(text);
    }

    void endElement(QStringView name)
    {
        if (name == u"val" && m_collectingValues) {
            if (m_keyId && m_buffer) {
                const QString label = m_buffer->trimmed();
                if (!label.isEmpty())
                    m_options.append(EnumeratedOption{*m_keyId, label});
            }
            m_buffer.reset();
        } else if (name == u"key" && m_collectingValues) {
            m_keyId.reset();
        } else if (name == u"values") {
            m_collectingValues = false;
        } else if (name == u"table") {
            m_tableFamily1.clear();
            m_tableFamily0.clear();
        } else if (name == u"tag") {
            if (m_name && !m_collectingValues) {
                const QString key =
                    m_group.isEmpty() ? *m_name : m_group + QLatin1Char(':') + *m_name;
                if (!m_results.contains(key))
                    m_results.insert(key, TagDefinition{m_writable, m_options, m_isList});
            }
            m_group.clear();
            m_name.reset();
            m_options.clear();
            m_writable = true;
            m_isList = false;
        }
    }

    TagTable takeResults() { return std::move(m_results); }

private:
    TagTable m_results;
    QString m_tableFamily1;
    QString m_tableFamily0;
    QString m_group;
    std::optional<QString> m_name;
    bool m_collectingValues = false;
    QList<EnumeratedOption> m_options;
    std::optional<QString> m_keyId;
    std::optional<QString> m_buffer;
    bool m_writable = true;
    bool m_isList = false;
};

} // namespace

TagTable parse(const QByteArray &xml)
{
    QXmlStreamReader reader(xml);
    reader.setNamespaceProcessing(false);
    Parser parser;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            parser.startElement(reader.name(), reader.attributes());
            break;
        case QXmlStreamReader::Characters:
            parser.characters(reader.text());
            break;
        case QXmlStreamReader::EndElement:
            parser.endElement(reader.name());
            break;
        default:
            break;
        }
    }
    if (reader.hasError()) {
        throw PlatformError(
            QCoreApplication::translate("TagDefinitionsParser",
                                        "ExifTool's tag listing could not be read: %1 (line %2, "
                                        "column %3).")
                .arg(reader.errorString())
                .arg(reader.lineNumber())
                .arg(reader.columnNumber()));
    }
    return parser.takeResults();
}

} // namespace Metaloom::TagDefinitionsParser
