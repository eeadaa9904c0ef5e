<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AppMenus</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>Export Metadata as %1…</source>
        <translation>Metadaten als %1 exportieren…</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;New Window</source>
        <translation>&amp;Neues Fenster</translation>
    </message>
    <message>
        <source>&amp;Import…</source>
        <translation>&amp;Importieren…</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Re&amp;load</source>
        <translation>Neu &amp;laden</translation>
    </message>
    <message>
        <source>Re&amp;vert</source>
        <translation>&amp;Verwerfen</translation>
    </message>
    <message>
        <source>E&amp;xport</source>
        <translation>E&amp;xportieren</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>&amp;Settings…</source>
        <translation>Ein&amp;stellungen…</translation>
    </message>
    <message>
        <source>&amp;About Metaloom</source>
        <translation>Ü&amp;ber Metaloom</translation>
    </message>
    <message>
        <source>Check for &amp;Updates…</source>
        <translation>Nach &amp;Updates suchen…</translation>
    </message>
    <message>
        <source>&amp;Other Apps</source>
        <translation>&amp;Weitere Apps</translation>
    </message>
    <message>
        <source>Save &amp;All</source>
        <translation>Alle s&amp;peichern</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>Wieder&amp;holen</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>Alles aus&amp;wählen</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Compact Rows</source>
        <translation>&amp;Kompakte Zeilen</translation>
    </message>
    <message>
        <source>&amp;Expand All</source>
        <translation>Alle &amp;aufklappen</translation>
    </message>
    <message>
        <source>C&amp;ollapse All</source>
        <translation>Alle &amp;zuklappen</translation>
    </message>
    <message>
        <source>Copy &amp;Metadata From…</source>
        <translation>&amp;Metadaten übernehmen von…</translation>
    </message>
    <message>
        <source>Co&amp;mpare</source>
        <translation>&amp;Vergleichen</translation>
    </message>
    <message>
        <source>Adjust &amp;Dates…</source>
        <translation>&amp;Datumsangaben anpassen…</translation>
    </message>
    <message>
        <source>Set File Dat&amp;es from Capture Date</source>
        <translation>Dateidatum aus Aufnahmedatum se&amp;tzen</translation>
    </message>
    <message>
        <source>U&amp;ndo Date Change</source>
        <translation>Datumsänderung &amp;zurücknehmen</translation>
    </message>
    <message>
        <source>&amp;Sort Files</source>
        <translation>Dateien so&amp;rtieren</translation>
    </message>
    <message>
        <source>As &amp;Added</source>
        <translation>In &amp;Importreihenfolge</translation>
    </message>
    <message>
        <source>By &amp;Name</source>
        <translation>Nach &amp;Name</translation>
    </message>
    <message>
        <source>By &amp;Capture Date</source>
        <translation>Nach &amp;Aufnahmedatum</translation>
    </message>
    <message>
        <source>By &amp;File Date</source>
        <translation>Nach &amp;Dateidatum</translation>
    </message>
</context>
<context>
    <name>Appcast</name>
    <message>
        <source>The update feed is empty.</source>
        <translation>Der Update-Feed ist leer.</translation>
    </message>
    <message>
        <source>The update feed is not valid XML.</source>
        <translation>Der Update-Feed ist kein gültiges XML.</translation>
    </message>
    <message>
        <source>The update feed is not an RSS document.</source>
        <translation>Der Update-Feed ist kein RSS-Dokument.</translation>
    </message>
    <message>
        <source>The update feed is not valid XML (%1).</source>
        <translation>Der Update-Feed ist kein gültiges XML (%1).</translation>
    </message>
</context>
<context>
    <name>AppcastUpdater</name>
    <message>
        <source>The update server answered %1%2.</source>
        <translation>Der Update-Server antwortete mit %1%2.</translation>
    </message>
    <message>
        <source>The update server did not answer in time.</source>
        <translation>Der Update-Server hat nicht rechtzeitig geantwortet.</translation>
    </message>
    <message>
        <source>The update feed could not be loaded: %1</source>
        <translation>Der Update-Feed konnte nicht geladen werden: %1</translation>
    </message>
    <message>
        <source>No update feed is configured.</source>
        <translation>Es ist kein Update-Feed eingerichtet.</translation>
    </message>
    <message>
        <source>The update feed is too large.</source>
        <translation>Der Update-Feed ist zu groß.</translation>
    </message>
</context>
<context>
    <name>BatchReportTexts</name>
    <message>
        <source>1 file</source>
        <translation>1 Datei</translation>
    </message>
    <message numerus="yes">
        <source>%n files</source>
        <translation>
            <numerusform>%n Datei</numerusform>
            <numerusform>%n Dateien</numerusform>
        </translation>
    </message>
    <message>
        <source>not written: %1</source>
        <translation>nicht geschrieben: %1</translation>
    </message>
    <message>
        <source>not removed: %1</source>
        <translation>nicht entfernt: %1</translation>
    </message>
    <message>
        <source>These files did not take all of the preset&apos;s changes:</source>
        <translation>Diese Dateien haben nicht alle Änderungen der Vorgabe übernommen:</translation>
    </message>
    <message>
        <source>Write Anyway makes the change in the file ExifTool stopped at, ignoring its minor problem.</source>
        <translation>„Trotzdem schreiben“ ändert die Datei, bei der ExifTool angehalten hat, und übergeht dabei ihr kleineres Problem.</translation>
    </message>
    <message>
        <source>Write Anyway makes the change in the %1 files ExifTool stopped at, ignoring their minor problems.</source>
        <translation>„Trotzdem schreiben“ ändert die %1 Dateien, bei denen ExifTool angehalten hat, und übergeht dabei ihre kleineren Probleme.</translation>
    </message>
    <message>
        <source>1 item</source>
        <translation>1 Datei</translation>
    </message>
    <message numerus="yes">
        <source>%n items</source>
        <translation>
            <numerusform>%n Datei</numerusform>
            <numerusform>%n Dateien</numerusform>
        </translation>
    </message>
    <message>
        <source>1 tag</source>
        <translation>1 Tag</translation>
    </message>
    <message numerus="yes">
        <source>%n tags</source>
        <translation>
            <numerusform>%n Tag</numerusform>
            <numerusform>%n Tags</numerusform>
        </translation>
    </message>
    <message>
        <source>Removed all metadata from %1.</source>
        <translation>Alle Metadaten aus %1 entfernt.</translation>
    </message>
    <message>
        <source>ExifTool Error</source>
        <translation>ExifTool-Fehler</translation>
    </message>
    <message>
        <source>Stopped before %1; it was left as it was.</source>
        <translation>Vor %1 angehalten; die Datei blieb, wie sie war.</translation>
    </message>
    <message>
        <source>Stopped before %1; it and the %2 after it were left as they were.</source>
        <translation>Vor %1 angehalten; sie und die %2 danach blieben, wie sie waren.</translation>
    </message>
    <message>
        <source>ExifTool doesn&apos;t know a tag named %1.</source>
        <translation>ExifTool kennt kein Tag namens %1.</translation>
    </message>
    <message>
        <source>ExifTool doesn&apos;t know tags named %1.</source>
        <translation>ExifTool kennt keine Tags namens %1.</translation>
    </message>
    <message>
        <source>ExifTool doesn&apos;t know a tag named %1, so it was not written. Check the key&apos;s spelling in the field settings.</source>
        <translation>ExifTool kennt kein Tag namens %1, daher wurde es nicht geschrieben. Prüfen Sie die Schreibweise des Schlüssels in den Feldeinstellungen.</translation>
    </message>
    <message>
        <source>Some metadata tags are read-only.</source>
        <translation>Manche Metadaten-Tags sind schreibgeschützt.</translation>
    </message>
    <message>
        <source>Metadata saved.</source>
        <translation>Metadaten gespeichert.</translation>
    </message>
    <message>
        <source>%1 was not stored as typed.</source>
        <translation>%1 wurde nicht wie eingegeben gespeichert.</translation>
    </message>
    <message>
        <source>%1 were not stored as typed.</source>
        <translation>%1 wurden nicht wie eingegeben gespeichert.</translation>
    </message>
    <message>
        <source>Metadata saved successfully.</source>
        <translation>Metadaten erfolgreich gespeichert.</translation>
    </message>
    <message>
        <source>Metadata Not Removed from %1</source>
        <translation>Metadaten nicht aus %1 entfernt</translation>
    </message>
    <message>
        <source>Applied preset &apos;%1&apos; to %2.</source>
        <translation>Vorgabe „%1“ auf %2 angewendet.</translation>
    </message>
    <message>
        <source>Applied preset &apos;%1&apos; to %2 of %3.</source>
        <translation>Vorgabe „%1“ auf %2 von %3 angewendet.</translation>
    </message>
    <message>
        <source>Applied to %1. The rest were left unchanged:</source>
        <translation>Auf %1 angewendet. Die übrigen blieben unverändert:</translation>
    </message>
    <message>
        <source>Preset Not Applied in Full</source>
        <translation>Vorgabe nicht vollständig angewendet</translation>
    </message>
    <message>
        <source>Stopping after %1…</source>
        <translation>Wird nach %1 angehalten…</translation>
    </message>
    <message>
        <source>Applying &apos;%1&apos;</source>
        <translation>„%1“ wird angewendet</translation>
    </message>
    <message>
        <source>Removing metadata</source>
        <translation>Metadaten werden entfernt</translation>
    </message>
    <message>
        <source>%1: %2 of %3 — %4</source>
        <translation>%1: %2 von %3 — %4</translation>
    </message>
    <message>
        <source>Saved the changes to “%1”.</source>
        <translation>Die Änderungen an „%1“ wurden gespeichert.</translation>
    </message>
    <message>
        <source>Saved the changes to %1.</source>
        <translation>Die Änderungen an %1 wurden gespeichert.</translation>
    </message>
    <message>
        <source>Saved the changes to %1. These files were left unchanged:</source>
        <translation>Die Änderungen an %1 wurden gespeichert. Diese Dateien blieben unverändert:</translation>
    </message>
    <message>
        <source>These files did not take all of the changes:</source>
        <translation>Diese Dateien haben nicht alle Änderungen übernommen:</translation>
    </message>
    <message>
        <source>Changes Not Saved to Every File</source>
        <translation>Änderungen nicht in jeder Datei gespeichert</translation>
    </message>
    <message>
        <source>Saving changes</source>
        <translation>Änderungen werden gesichert</translation>
    </message>
    <message>
        <source>Reading metadata</source>
        <translation>Metadaten werden gelesen</translation>
    </message>
    <message>
        <source>Copied metadata from the partner files to %1.</source>
        <translation>Metadaten wurden aus den Partnerdateien nach %1 kopiert.</translation>
    </message>
    <message>
        <source>Copied metadata from %1 to %2.</source>
        <translation>Metadaten wurden von %1 nach %2 kopiert.</translation>
    </message>
    <message>
        <source>Copied to %1. The rest were left unchanged:</source>
        <translation>Nach %1 kopiert. Die übrigen blieben unverändert:</translation>
    </message>
    <message>
        <source>Metadata Not Copied in Full</source>
        <translation>Metadaten nicht vollständig kopiert</translation>
    </message>
    <message>
        <source>Copying from partner files</source>
        <translation>Kopieren aus den Partnerdateien</translation>
    </message>
    <message>
        <source>Copying from %1</source>
        <translation>Kopieren aus %1</translation>
    </message>
    <message>
        <source>Restored the previous dates of %1.</source>
        <translation>Die vorherigen Datumsangaben von %1 wiederhergestellt.</translation>
    </message>
    <message>
        <source>Adjusted the dates of %1.</source>
        <translation>Die Datumsangaben von %1 angepasst.</translation>
    </message>
    <message>
        <source>Changed the dates of %1. The rest were left unchanged:</source>
        <translation>Die Datumsangaben von %1 geändert. Die übrigen blieben unverändert:</translation>
    </message>
    <message>
        <source>Dates Not Changed in Full</source>
        <translation>Datumsangaben nicht vollständig geändert</translation>
    </message>
    <message>
        <source>Adjusting dates</source>
        <translation>Datumsangaben werden angepasst</translation>
    </message>
    <message>
        <source>Restoring dates</source>
        <translation>Datumsangaben werden wiederhergestellt</translation>
    </message>
</context>
<context>
    <name>ChangeComparison</name>
    <message>
        <source>“%1”</source>
        <comment>a value or a list of values, quoted</comment>
        <translation>„%1“</translation>
    </message>
    <message>
        <source>%1 was shortened to %2 bytes, the longest this format holds.</source>
        <translation>%1 wurde auf %2 Bytes gekürzt; mehr fasst dieses Format nicht.</translation>
    </message>
    <message>
        <source>ExifTool did not accept %1 for %2: %3</source>
        <translation>ExifTool hat %1 für %2 nicht angenommen: %3</translation>
    </message>
    <message>
        <source>%1 has no place for %2.</source>
        <translation>%1 bietet keinen Platz für %2.</translation>
    </message>
    <message>
        <source>%1 keeps %2 where ExifTool cannot write it, so it still holds its old value.</source>
        <translation>%1 bewahrt %2 dort auf, wo ExifTool nicht schreiben kann; daher hat es noch seinen alten Wert.</translation>
    </message>
    <message>
        <source>%1 holds one value, not a list, so only %2 was kept.</source>
        <translation>%1 fasst einen Wert, keine Liste; daher wurde nur %2 behalten.</translation>
    </message>
    <message>
        <source>ExifTool stored %1 for %2 as %3.</source>
        <translation>ExifTool hat %1 für %2 als %3 gespeichert.</translation>
    </message>
    <message>
        <source>%1 keeps %2 where ExifTool cannot remove it.</source>
        <translation>%1 bewahrt %2 dort auf, wo ExifTool es nicht entfernen kann.</translation>
    </message>
    <message>
        <source>This file</source>
        <translation>Diese Datei</translation>
    </message>
    <message>
        <source>This %1 file</source>
        <translation>Diese %1-Datei</translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <source>apply one of your presets, as the window&apos;s Apply Preset does</source>
        <translation>eine Ihrer Vorgaben anwenden, wie es „Vorgabe anwenden“ im Fenster tut</translation>
    </message>
    <message>
        <source>&apos;apply-preset&apos; needs the name of a preset and at least one file or folder</source>
        <translation>&apos;apply-preset&apos; braucht den Namen einer Vorgabe und mindestens eine Datei oder einen Ordner</translation>
    </message>
    <message>
        <source>no preset named &apos;%1&apos;: you have no presets yet (make them in Metaloom&apos;s preset manager)</source>
        <translation>keine Vorgabe namens „%1“: Sie haben noch keine Vorgaben (legen Sie sie in der Vorgabenverwaltung von Metaloom an)</translation>
    </message>
    <message>
        <source>no preset named &apos;%1&apos;; your presets are %2</source>
        <translation>keine Vorgabe namens „%1“; Ihre Vorgaben sind %2</translation>
    </message>
    <message>
        <source>%1 presets are named &apos;%2&apos;; give them different names in Metaloom&apos;s preset manager</source>
        <translation>%1 Vorgaben heißen „%2“; geben Sie ihnen in der Vorgabenverwaltung von Metaloom verschiedene Namen</translation>
    </message>
    <message>
        <source>the preset &apos;%1&apos; has no operations to apply</source>
        <translation>die Vorgabe „%1“ enthält nichts anzuwenden</translation>
    </message>
    <message>
        <source>unknown option &apos;%1&apos;</source>
        <translation>unbekannte Option &apos;%1&apos;</translation>
    </message>
    <message>
        <source>option &apos;%1&apos; takes no value</source>
        <translation>Option &apos;%1&apos; nimmt keinen Wert</translation>
    </message>
    <message>
        <source>option &apos;%1&apos; needs a value (%2)</source>
        <translation>Option &apos;%1&apos; braucht einen Wert (%2)</translation>
    </message>
    <message>
        <source>The engine has stopped.</source>
        <translation>Die Metadaten-Engine wurde beendet.</translation>
    </message>
    <message>
        <source>No such file: the link leads to “%1”, which does not exist.</source>
        <translation>Datei nicht vorhanden: Der Link führt zu „%1“, das es nicht gibt.</translation>
    </message>
    <message>
        <source>No such file or folder.</source>
        <translation>Datei oder Ordner nicht vorhanden.</translation>
    </message>
    <message>
        <source>ExifTool can&apos;t write files of this kind, so their metadata cannot be changed.</source>
        <translation>ExifTool kann Dateien dieser Art nicht schreiben; ihre Metadaten lassen sich daher nicht ändern.</translation>
    </message>
    <message>
        <source>ExifTool can&apos;t write %1 files, so their metadata cannot be changed.</source>
        <translation>ExifTool kann keine %1-Dateien schreiben; ihre Metadaten lassen sich daher nicht ändern.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; needs at least one file or folder</source>
        <translation>&apos;%1&apos; braucht mindestens eine Datei oder einen Ordner</translation>
    </message>
    <message>
        <source>This file cannot be read: permission denied.</source>
        <translation>Diese Datei kann nicht gelesen werden: Zugriff verweigert.</translation>
    </message>
    <message>
        <source>; stopped after %1 of %2 files</source>
        <translation>; nach %1 von %2 Dateien angehalten</translation>
    </message>
    <message>
        <source>%1: no files in this folder or its subfolders</source>
        <translation>%1: keine Dateien in diesem Ordner oder seinen Unterordnern</translation>
    </message>
    <message>
        <source>%1: no files in this folder</source>
        <translation>%1: keine Dateien in diesem Ordner</translation>
    </message>
    <message>
        <source>1 file %1</source>
        <translation>1 Datei %1</translation>
    </message>
    <message>
        <source>%1 files %2</source>
        <translation>%1 Dateien %2</translation>
    </message>
    <message>
        <source>No files</source>
        <translation>Keine Dateien</translation>
    </message>
    <message>
        <source>set the tag KEY to VALUE; a key given again adds an item to a list tag</source>
        <translation>das Tag KEY auf VALUE setzen; ein erneut genannter Schlüssel fügt einem Listen-Tag ein Element hinzu</translation>
    </message>
    <message>
        <source>delete the tag KEY (&quot;GPS:all&quot; deletes a whole group)</source>
        <translation>das Tag KEY löschen („GPS:all“ löscht eine ganze Gruppe)</translation>
    </message>
    <message>
        <source>the format of the metadata printed (json when not given)</source>
        <translation>das Format der ausgegebenen Metadaten (ohne Angabe json)</translation>
    </message>
    <message>
        <source>with a folder, take the files of its subfolders too</source>
        <translation>bei einem Ordner auch die Dateien seiner Unterordner nehmen</translation>
    </message>
    <message>
        <source>report as JSON Lines, one object per file</source>
        <translation>als JSON Lines berichten, ein Objekt je Datei</translation>
    </message>
    <message>
        <source>say what would change in each file; change nothing</source>
        <translation>sagen, was sich in jeder Datei ändern würde; nichts ändern</translation>
    </message>
    <message>
        <source>show this help and end</source>
        <translation>diese Hilfe zeigen und enden</translation>
    </message>
    <message>
        <source>show the version and end</source>
        <translation>die Version zeigen und enden</translation>
    </message>
    <message>
        <source>list the names of your presets, one a line</source>
        <translation>die Namen Ihrer Vorgaben auflisten, einen je Zeile</translation>
    </message>
    <message>
        <source>&apos;presets&apos; takes no files or other operands</source>
        <translation>&apos;presets&apos; nimmt keine Dateien oder anderen Operanden</translation>
    </message>
    <message>
        <source>%1: %2
Try &apos;%1 --help&apos; for more information.
</source>
        <translation>%1: %2
Mit &apos;%1 --help&apos; erfahren Sie mehr.
</translation>
    </message>
    <message>
        <source>Usage: %1 COMMAND [options] FILE...

Reads, changes and strips the metadata of photos, videos and other media files
with the engine, presets and safety of Metaloom. Files are never changed in place:
a changed copy replaces a file only once it was written and checked.

Commands:
</source>
        <translation>Aufruf: %1 BEFEHL [Optionen] DATEI...

Liest, ändert und entfernt die Metadaten von Fotos, Videos und anderen
Mediendateien mit der Engine, den Vorgaben und der Sorgfalt von Metaloom.
Dateien werden nie an Ort und Stelle geändert: Eine geänderte Kopie ersetzt
eine Datei erst, wenn sie geschrieben und geprüft ist.

Befehle:
</translation>
    </message>
    <message>
        <source>
Options:
</source>
        <translation>
Optionen:
</translation>
    </message>
    <message>
        <source>
A folder stands for the files directly inside it; -r adds those of its subfolders.
&apos;--&apos; ends the options: a file whose name starts with &apos;-&apos; goes after it.
Exit status: 0 when every file took everything asked, 1 when a file failed or
did not take everything, 2 when the command line was wrong (nothing is touched).
Run &apos;%1 COMMAND --help&apos; for one command, and &apos;man %1&apos; for the whole story.
</source>
        <translation>
Ein Ordner steht für die Dateien direkt darin; -r nimmt die seiner Unterordner
hinzu. &apos;--&apos; beendet die Optionen: Eine Datei, deren Name mit &apos;-&apos; beginnt,
gehört dahinter.
Rückgabewert: 0, wenn jede Datei alles Verlangte übernommen hat, 1, wenn eine
Datei scheiterte oder nicht alles übernahm, 2, wenn die Befehlszeile falsch war
(dann wird nichts angefasst).
&apos;%1 BEFEHL --help&apos; erklärt einen Befehl, &apos;man %1&apos; das Ganze.
</translation>
    </message>
    <message>
        <source>Usage: %1 %2

%3.
</source>
        <translation>Aufruf: %1 %2

%3.
</translation>
    </message>
    <message>
        <source>no command given</source>
        <translation>kein Befehl angegeben</translation>
    </message>
    <message>
        <source>&apos;%1&apos; needs a command before it</source>
        <translation>vor &apos;%1&apos; muss ein Befehl stehen</translation>
    </message>
    <message>
        <source>unknown command &apos;%1&apos;</source>
        <translation>unbekannter Befehl &apos;%1&apos;</translation>
    </message>
    <message>
        <source>&apos;%1&apos; takes no option &apos;%2&apos;</source>
        <translation>&apos;%1&apos; nimmt keine Option &apos;%2&apos;</translation>
    </message>
    <message>
        <source>print each file&apos;s metadata as the window exports it</source>
        <translation>die Metadaten jeder Datei ausgeben, wie das Fenster sie exportiert</translation>
    </message>
    <message>
        <source>give --format once</source>
        <translation>--format nur einmal angeben</translation>
    </message>
    <message>
        <source>unknown format &apos;%1&apos; (json, yaml or toml)</source>
        <translation>unbekanntes Format &apos;%1&apos; (json, yaml oder toml)</translation>
    </message>
    <message>
        <source>%1: read</source>
        <translation>%1: gelesen</translation>
    </message>
    <message>
        <source>read</source>
        <translation>gelesen</translation>
    </message>
    <message>
        <source>write tag values and removals, as Save does</source>
        <translation>Tag-Werte schreiben und Tags entfernen, wie es „Speichern“ tut</translation>
    </message>
    <message>
        <source>%1 and %2 more</source>
        <translation>%1 und %2 weitere</translation>
    </message>
    <message>
        <source>remove all metadata, as Remove Metadata does, and say what stayed</source>
        <translation>alle Metadaten entfernen, wie es „Metadaten entfernen“ tut, und sagen, was blieb</translation>
    </message>
    <message>
        <source>%1: holds no metadata to remove</source>
        <translation>%1: enthält keine Metadaten zum Entfernen</translation>
    </message>
    <message>
        <source>%1: would try to remove %2 (%3)</source>
        <translation>%1: würde versuchen, %2 zu entfernen (%3)</translation>
    </message>
    <message>
        <source>Removed %1 from %2. %3 could not be removed from this file type: %4.</source>
        <comment>one tag left</comment>
        <translation>Aus %2 entfernt: %1. %3 konnte aus diesem Dateityp nicht entfernt werden: %4.</translation>
    </message>
    <message>
        <source>Removed %1 from %2. %3 could not be removed from this file type, among them %4.</source>
        <translation>Aus %2 entfernt: %1. %3 konnten aus diesem Dateityp nicht entfernt werden, darunter %4.</translation>
    </message>
    <message>
        <source>Removed %1 from %2. %3 could not be removed from this file type: %4.</source>
        <comment>several tags left</comment>
        <translation>Aus %2 entfernt: %1. %3 konnten aus diesem Dateityp nicht entfernt werden: %4.</translation>
    </message>
    <message>
        <source>would be stripped</source>
        <translation>zu bereinigen</translation>
    </message>
    <message>
        <source>hold no metadata</source>
        <translation>ohne Metadaten</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>fehlgeschlagen</translation>
    </message>
    <message>
        <source>stripped</source>
        <translation>bereinigt</translation>
    </message>
    <message>
        <source>stripped in part</source>
        <translation>teilweise bereinigt</translation>
    </message>
    <message>
        <source>“%1”</source>
        <comment>a value, quoted</comment>
        <translation>„%1“</translation>
    </message>
    <message>
        <source>cannot use the tag key &apos;%1&apos;: %2</source>
        <translation>der Tag-Schlüssel &apos;%1&apos; ist nicht verwendbar: %2</translation>
    </message>
    <message>
        <source>&apos;--tag %1&apos; has no &apos;=&apos;: write --tag KEY=VALUE</source>
        <translation>&apos;--tag %1&apos; hat kein &apos;=&apos;: schreiben Sie --tag KEY=VALUE</translation>
    </message>
    <message>
        <source>&apos;--tag %1&apos; gives no value; to delete the tag, write --remove %2</source>
        <translation>&apos;--tag %1&apos; nennt keinen Wert; um das Tag zu löschen, schreiben Sie --remove %2</translation>
    </message>
    <message>
        <source>cannot use the value of %1: %2</source>
        <translation>der Wert von %1 ist nicht verwendbar: %2</translation>
    </message>
    <message>
        <source>%1 is both set and removed; give either --tag or --remove</source>
        <translation>%1 wird gesetzt und entfernt; geben Sie entweder --tag oder --remove an</translation>
    </message>
    <message>
        <source>&apos;set&apos; needs at least one --tag KEY=VALUE or --remove KEY</source>
        <translation>&apos;set&apos; braucht mindestens ein --tag KEY=VALUE oder --remove KEY</translation>
    </message>
    <message>
        <source>%1: changed</source>
        <translation>%1: geändert</translation>
    </message>
    <message>
        <source>%1: changed in part</source>
        <translation>%1: teilweise geändert</translation>
    </message>
    <message>
        <source>%1: changed. %2</source>
        <translation>%1: geändert. %2</translation>
    </message>
    <message>
        <source>%1: changed in part. %2</source>
        <translation>%1: teilweise geändert. %2</translation>
    </message>
    <message>
        <source>would remove %1</source>
        <translation>würde %1 entfernen</translation>
    </message>
    <message>
        <source>would set %1 to %2 (now %3)</source>
        <translation>würde %1 auf %2 setzen (jetzt %3)</translation>
    </message>
    <message>
        <source>would set %1 to %2</source>
        <translation>würde %1 auf %2 setzen</translation>
    </message>
    <message>
        <source>%1: already as asked, nothing would change</source>
        <translation>%1: schon wie verlangt, nichts würde sich ändern</translation>
    </message>
    <message>
        <source>would change</source>
        <translation>zu ändern</translation>
    </message>
    <message>
        <source>already as asked</source>
        <translation>schon wie verlangt</translation>
    </message>
    <message>
        <source>changed</source>
        <translation>geändert</translation>
    </message>
    <message>
        <source>changed in part</source>
        <translation>teilweise geändert</translation>
    </message>
    <message>
        <source>unknown option &apos;%1&apos; (a file whose name starts with &apos;-&apos; goes after &apos;--&apos;, as in &apos;metaloom-cli strip -- %1&apos;)</source>
        <translation>unbekannte Option &apos;%1&apos; (eine Datei, deren Name mit &apos;-&apos; beginnt, gehört hinter &apos;--&apos;, wie in &apos;metaloom-cli strip -- %1&apos;)</translation>
    </message>
    <message>
        <source>%1: nothing found that tells where, when, who or with what</source>
        <translation>%1: nichts gefunden, was verrät, wo, wann, wer oder womit</translation>
    </message>
    <message>
        <source>list the tags that tell where, when, who and with what, by class</source>
        <translation>die Tags auflisten, die verraten, wo, wann, wer und womit, nach Art geordnet</translation>
    </message>
    <message>
        <source>%1: checked</source>
        <translation>%1: geprüft</translation>
    </message>
    <message>
        <source>checked</source>
        <translation>geprüft</translation>
    </message>
    <message>
        <source>none</source>
        <comment>a date the file has not</comment>
        <translation>keines</translation>
    </message>
    <message>
        <source>%1 %2 → %3</source>
        <comment>a date tag, before and after</comment>
        <translation>%1 %2 → %3</translation>
    </message>
    <message>
        <source>shift or set the dates of photos and videos</source>
        <translation>die Datumsangaben von Fotos und Videos verschieben oder setzen</translation>
    </message>
    <message>
        <source>&apos;dates&apos; needs either --shift AMOUNT or --set DATE, once</source>
        <translation>&apos;dates&apos; braucht genau einmal --shift BETRAG oder --set DATUM</translation>
    </message>
    <message>
        <source>&apos;--shift %1&apos; is no amount: write [+-][D ]HH:MM[:SS], such as +1:00 or &quot;-2 00:30&quot;</source>
        <translation>&apos;--shift %1&apos; ist kein Betrag: Schreiben Sie [+-][D ]HH:MM[:SS], etwa +1:00 oder &quot;-2 00:30&quot;</translation>
    </message>
    <message>
        <source>&apos;--set %1&apos; is no date: write &quot;YYYY:MM:DD HH:MM:SS&quot;</source>
        <translation>&apos;--set %1&apos; ist kein Datum: Schreiben Sie &quot;YYYY:MM:DD HH:MM:SS&quot;</translation>
    </message>
    <message>
        <source>&apos;--tags %1&apos;: write capture, modify or all</source>
        <translation>&apos;--tags %1&apos;: Schreiben Sie capture, modify oder all</translation>
    </message>
    <message>
        <source>&apos;--quicktime %1&apos;: write utc or local</source>
        <translation>&apos;--quicktime %1&apos;: Schreiben Sie utc oder local</translation>
    </message>
    <message>
        <source>%1: no dates to change</source>
        <translation>%1: keine Datumsangaben zu ändern</translation>
    </message>
    <message>
        <source>%1: would change %2</source>
        <translation>%1: würde %2 ändern</translation>
    </message>
    <message>
        <source>strip by a profile: everything, keep-orientation-colour, location, personal, or one of your own</source>
        <translation>nach einem Profil bereinigen: everything, keep-orientation-colour, location, personal oder eines Ihrer eigenen</translation>
    </message>
    <message>
        <source>move the dates by this amount, forwards or back</source>
        <translation>die Datumsangaben um diesen Betrag vor- oder zurückverschieben</translation>
    </message>
    <message>
        <source>set the dates to this date and time</source>
        <translation>die Datumsangaben auf dieses Datum und diese Uhrzeit setzen</translation>
    </message>
    <message>
        <source>which dates: of the capture (when not given), of the last change, or both</source>
        <translation>welche Datumsangaben: der Aufnahme (ohne Angabe), der letzten Änderung oder beide</translation>
    </message>
    <message>
        <source>change the file&apos;s own modification date too</source>
        <translation>auch das Änderungsdatum der Datei selbst ändern</translation>
    </message>
    <message>
        <source>how a video&apos;s QuickTime dates are stored (when not given: as the file tells, otherwise local)</source>
        <translation>wie die QuickTime-Daten eines Videos gespeichert sind (ohne Angabe: wie die Datei es angibt, sonst Ortszeit)</translation>
    </message>
    <message>
        <source>give --profile once</source>
        <translation>--profile nur einmal angeben</translation>
    </message>
    <message>
        <source>--dry-run is not available with --profile</source>
        <translation>--dry-run ist mit --profile nicht verfügbar</translation>
    </message>
    <message>
        <source>no strip profile named &apos;%1&apos; (%2)</source>
        <translation>kein Bereinigungsprofil namens „%1“ (%2)</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Usage: %1 [options] [files...]
</source>
        <translation>Aufruf: %1 [Optionen] [Dateien...]
</translation>
    </message>
    <message>
        <source>%1: %2
Try &apos;%1 --help&apos; for more information.
</source>
        <translation>%1: %2
Mit &apos;%1 --help&apos; erfahren Sie mehr.
</translation>
    </message>
    <message>
        <source>Inspect, edit and strip the metadata of photos and videos.</source>
        <translation>Metadaten von Fotos und Videos ansehen, bearbeiten und entfernen.</translation>
    </message>
    <message>
        <source>Displays this help and exits.</source>
        <translation>Zeigt diese Hilfe an und beendet das Programm.</translation>
    </message>
    <message>
        <source>Displays the version and exits.</source>
        <translation>Zeigt die Version an und beendet das Programm.</translation>
    </message>
    <message>
        <source>Files to open in the first window.</source>
        <translation>Dateien, die im ersten Fenster geöffnet werden.</translation>
    </message>
    <message>
        <source>[files...]</source>
        <translation>[Dateien...]</translation>
    </message>
    <message>
        <source>files</source>
        <translation>Dateien</translation>
    </message>
</context>
<context>
    <name>Confirmations</name>
    <message>
        <source>Are you sure you want to remove all metadata from %1? This action cannot be undone.</source>
        <translation>Möchten Sie wirklich alle Metadaten aus %1 entfernen? Das lässt sich nicht rückgängig machen.</translation>
    </message>
    <message>
        <source>Are you sure you want to remove all metadata from 1 loaded file? This action cannot be undone.</source>
        <translation>Möchten Sie wirklich alle Metadaten aus 1 geladenen Datei entfernen? Das lässt sich nicht rückgängig machen.</translation>
    </message>
    <message numerus="yes">
        <source>Are you sure you want to remove all metadata from %n loaded files? This action cannot be undone.</source>
        <translation>
            <numerusform>Möchten Sie wirklich alle Metadaten aus %n geladenen Datei entfernen? Das lässt sich nicht rückgängig machen.</numerusform>
            <numerusform>Möchten Sie wirklich alle Metadaten aus %n geladenen Dateien entfernen? Das lässt sich nicht rückgängig machen.</numerusform>
        </translation>
    </message>
    <message>
        <source>Are you sure you want to strip %1 with the profile “%2”? This action cannot be undone.</source>
        <translation>Möchten Sie %1 wirklich mit dem Profil „%2“ bereinigen? Das lässt sich nicht rückgängig machen.</translation>
    </message>
    <message>
        <source>Are you sure you want to strip 1 loaded file with the profile “%1”? This action cannot be undone.</source>
        <translation>Möchten Sie 1 geladene Datei wirklich mit dem Profil „%1“ bereinigen? Das lässt sich nicht rückgängig machen.</translation>
    </message>
    <message numerus="yes">
        <source>Are you sure you want to strip %n loaded files with the profile “%1”? This action cannot be undone.</source>
        <translation>
            <numerusform>Möchten Sie %n geladene Datei wirklich mit dem Profil „%1“ bereinigen? Das lässt sich nicht rückgängig machen.</numerusform>
            <numerusform>Möchten Sie %n geladene Dateien wirklich mit dem Profil „%1“ bereinigen? Das lässt sich nicht rückgängig machen.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CopyMetadata</name>
    <message>
        <source>Everything writable</source>
        <translation>Alles Beschreibbare</translation>
    </message>
    <message>
        <source>Description and keywords</source>
        <translation>Beschreibung und Stichwörter</translation>
    </message>
    <message>
        <source>Creator and rights</source>
        <translation>Urheber und Rechte</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Ort</translation>
    </message>
    <message>
        <source>Dates</source>
        <translation>Datumsangaben</translation>
    </message>
    <message>
        <source>Camera settings</source>
        <translation>Kameraeinstellungen</translation>
    </message>
</context>
<context>
    <name>DatePlanning</name>
    <message>
        <source>This file has no capture date.</source>
        <translation>Diese Datei hat kein Aufnahmedatum.</translation>
    </message>
    <message>
        <source>The capture dates of this file differ by more than a minute.</source>
        <translation>Die Aufnahmedaten dieser Datei weichen um mehr als eine Minute voneinander ab.</translation>
    </message>
</context>
<context>
    <name>DefaultOverridesMigration</name>
    <message>
        <source>Migrated Default Overrides</source>
        <translation>Übernommene Standardwerte</translation>
    </message>
    <message>
        <source>Default overrides migrated to &apos;%1&apos; preset.</source>
        <translation>Standardwerte in die Vorgabe „%1“ übernommen.</translation>
    </message>
</context>
<context>
    <name>EntryCardLayout</name>
    <message>
        <source>Read-only</source>
        <translation>Schreibgeschützt</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Geändert</translation>
    </message>
    <message>
        <source>Standard field</source>
        <translation>Standardfeld</translation>
    </message>
    <message>
        <source>Remove from favorites</source>
        <translation>Aus den Favoriten entfernen</translation>
    </message>
    <message>
        <source>Add to favorites</source>
        <translation>Zu den Favoriten hinzufügen</translation>
    </message>
    <message>
        <source>Add item</source>
        <translation>Element hinzufügen</translation>
    </message>
    <message>
        <source>Checking…</source>
        <translation>Wird geprüft…</translation>
    </message>
    <message>
        <source>Will be removed</source>
        <translation>Wird entfernt</translation>
    </message>
</context>
<context>
    <name>EntryContextMenu</name>
    <message>
        <source>Copy &amp;Value</source>
        <translation>&amp;Wert kopieren</translation>
    </message>
    <message>
        <source>Copy Tag &amp;Name</source>
        <translation>Tag-&amp;Namen kopieren</translation>
    </message>
    <message>
        <source>Copy as ExifTool &amp;Argument</source>
        <translation>Als ExifTool-&amp;Argument kopieren</translation>
    </message>
    <message>
        <source>Un&amp;pin</source>
        <translation>Nicht mehr an&amp;heften</translation>
    </message>
    <message>
        <source>&amp;Pin</source>
        <translation>An&amp;heften</translation>
    </message>
    <message>
        <source>Add &amp;Item to All…</source>
        <translation>Element zu allen hinzu&amp;fügen…</translation>
    </message>
    <message>
        <source>Add Item</source>
        <translation>Element hinzufügen</translation>
    </message>
    <message>
        <source>Item to add to every selected file:</source>
        <translation>Element, das allen ausgewählten Dateien hinzugefügt wird:</translation>
    </message>
    <message>
        <source>Remove Ite&amp;m from All</source>
        <translation>E&amp;lement aus allen entfernen</translation>
    </message>
</context>
<context>
    <name>EntryEditActions</name>
    <message>
        <source>Rever&amp;t This Tag</source>
        <translation>Diesen Tag &amp;zurücksetzen</translation>
    </message>
    <message>
        <source>&amp;Remove This Tag</source>
        <translation>Diesen Tag &amp;entfernen</translation>
    </message>
    <message>
        <source>The tag is deleted from the file when you save.</source>
        <translation>Der Tag wird beim Speichern aus der Datei gelöscht.</translation>
    </message>
</context>
<context>
    <name>EntryMarks</name>
    <message>
        <source>This file type has no place for this tag.</source>
        <translation>Dieser Dateityp bietet keinen Platz für dieses Tag.</translation>
    </message>
</context>
<context>
    <name>Error</name>
    <message>
        <source>An unexpected error occurred.</source>
        <translation>Ein unerwarteter Fehler ist aufgetreten.</translation>
    </message>
</context>
<context>
    <name>ExifToolPool</name>
    <message>
        <source>ExifTool was stopped because Metaloom is quitting.</source>
        <translation>ExifTool wurde beendet, weil Metaloom sich schließt.</translation>
    </message>
    <message>
        <source>ExifTool stopped responding and was ended.</source>
        <translation>ExifTool reagierte nicht mehr und wurde beendet.</translation>
    </message>
    <message>
        <source>ExifTool gave an answer Metaloom could not understand and was ended.</source>
        <translation>ExifTool gab eine Antwort, die Metaloom nicht verstand, und wurde beendet.</translation>
    </message>
</context>
<context>
    <name>ExifToolRunner</name>
    <message>
        <source>ExifTool could not be started: %1</source>
        <translation>ExifTool konnte nicht gestartet werden: %1</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Unbekannter Fehler</translation>
    </message>
    <message>
        <source>ExifTool stopped unexpectedly.</source>
        <translation>ExifTool wurde unerwartet beendet.</translation>
    </message>
</context>
<context>
    <name>ExifToolService</name>
    <message>
        <source>“%1” cannot be copied onto itself.</source>
        <translation>„%1“ kann nicht auf sich selbst kopiert werden.</translation>
    </message>
</context>
<context>
    <name>FileOperations</name>
    <message>
        <source>The metadata engine of this window has stopped.</source>
        <translation>Die Metadaten-Engine dieses Fensters wurde beendet.</translation>
    </message>
    <message>
        <source>ExifTool can&apos;t write such files, so this file was left as it was.</source>
        <translation>ExifTool kann solche Dateien nicht schreiben; diese Datei blieb daher, wie sie war.</translation>
    </message>
    <message>
        <source>ExifTool can&apos;t write %1 files, so this file was left as it was.</source>
        <translation>ExifTool kann keine %1-Dateien schreiben; diese Datei blieb daher, wie sie war.</translation>
    </message>
    <message>
        <source>There is no RAW or JPEG file of the same name beside it.</source>
        <translation>Daneben liegt keine RAW- oder JPEG-Datei gleichen Namens.</translation>
    </message>
</context>
<context>
    <name>FileReplacement</name>
    <message>
        <source>“%1” now leads to another file than when Metaloom began the change, so nothing was changed. Please try again.</source>
        <translation>„%1“ führt jetzt zu einer anderen Datei als zu Beginn der Änderung; daher wurde nichts geändert. Bitte versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>“%1” was changed by another program while Metaloom was writing it, so it was left as it is. Please try again.</source>
        <translation>„%1“ wurde von einem anderen Programm geändert, während Metaloom die Datei schrieb; daher blieb sie, wie sie ist. Bitte versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>“%1” is not a regular file, so it was left unchanged.</source>
        <translation>„%1“ ist keine gewöhnliche Datei und blieb daher unverändert.</translation>
    </message>
</context>
<context>
    <name>FormatLists</name>
    <message>
        <source>ExifTool&apos;s list of writable file types could not be read.</source>
        <translation>Die Liste der Dateitypen, die ExifTool schreiben kann, konnte nicht gelesen werden.</translation>
    </message>
</context>
<context>
    <name>FormatWritability</name>
    <message>
        <source>ExifTool can&apos;t write files of this kind; their metadata is shown read-only.</source>
        <translation>ExifTool kann Dateien dieser Art nicht schreiben; ihre Metadaten werden schreibgeschützt angezeigt.</translation>
    </message>
    <message>
        <source>ExifTool can&apos;t write %1 files; their metadata is shown read-only.</source>
        <translation>ExifTool kann keine %1-Dateien schreiben; ihre Metadaten werden schreibgeschützt angezeigt.</translation>
    </message>
</context>
<context>
    <name>ImportPlanning</name>
    <message>
        <source>Added 1 file.</source>
        <translation>1 Datei hinzugefügt.</translation>
    </message>
    <message numerus="yes">
        <source>Added %n files.</source>
        <translation>
            <numerusform>%n Datei hinzugefügt.</numerusform>
            <numerusform>%n Dateien hinzugefügt.</numerusform>
        </translation>
    </message>
    <message>
        <source>1 was already in the list.</source>
        <translation>1 war schon in der Liste.</translation>
    </message>
    <message numerus="yes">
        <source>%n were already in the list.</source>
        <translation>
            <numerusform>%n war schon in der Liste.</numerusform>
            <numerusform>%n waren schon in der Liste.</numerusform>
        </translation>
    </message>
    <message>
        <source>The file is already in the list.</source>
        <translation>Die Datei ist schon in der Liste.</translation>
    </message>
    <message numerus="yes">
        <source>All %n files are already in the list.</source>
        <translation>
            <numerusform>Die %n Datei ist schon in der Liste.</numerusform>
            <numerusform>Alle %n Dateien sind schon in der Liste.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ItemSelection</name>
    <message numerus="yes">
        <source>%n files selected</source>
        <translation>
            <numerusform>%n Datei ausgewählt</numerusform>
            <numerusform>%n Dateien ausgewählt</numerusform>
        </translation>
    </message>
    <message>
        <source>other</source>
        <translation>andere</translation>
    </message>
</context>
<context>
    <name>JpegExifLimit</name>
    <message>
        <source>“%1” was left unchanged: %2 would not fit in the EXIF block of a JPEG, which holds at most 64 KB. ExifTool would split it into several blocks, and other programs then misread the file. Long texts belong in XMP, for example XMP-dc:Description.</source>
        <translation>„%1“ blieb unverändert: %2 passt nicht in den EXIF-Block eines JPEG, der höchstens 64 KB fasst. ExifTool würde die Daten auf mehrere Blöcke verteilen, und andere Programme läsen die Datei dann falsch. Lange Texte gehören in XMP, zum Beispiel XMP-dc:Description.</translation>
    </message>
    <message>
        <source>the value of %1 (%2 bytes)</source>
        <translation>der Wert von %1 (%2 Bytes)</translation>
    </message>
    <message>
        <source>the value of %1</source>
        <translation>der Wert von %1</translation>
    </message>
    <message>
        <source>the EXIF data of this change</source>
        <translation>der EXIF-Teil dieser Änderung</translation>
    </message>
</context>
<context>
    <name>LibraryExport</name>
    <message>
        <source>The folder “%1” does not exist, so %2 was not saved.</source>
        <translation>Den Ordner „%1“ gibt es nicht; daher wurde %2 nicht gespeichert.</translation>
    </message>
    <message>
        <source>%1 could not be saved in the folder “%2”: %3</source>
        <translation>%1 konnte nicht im Ordner „%2“ gespeichert werden: %3</translation>
    </message>
</context>
<context>
    <name>MetadataExportFormatter</name>
    <message>
        <source>The metadata could not be written as UTF-8 text.</source>
        <translation>Die Metadaten konnten nicht als UTF-8-Text geschrieben werden.</translation>
    </message>
</context>
<context>
    <name>MetadataJson</name>
    <message>
        <source>ExifTool&apos;s output could not be read as JSON: %1 (at byte %2).</source>
        <translation>Die Ausgabe von ExifTool konnte nicht als JSON gelesen werden: %1 (bei Byte %2).</translation>
    </message>
</context>
<context>
    <name>Metaloom::AboutPage</name>
    <message>
        <source>Version %1 (%2)</source>
        <translation>Version %1 (%2)</translation>
    </message>
    <message>
        <source>Metaloom</source>
        <translation>Metaloom</translation>
    </message>
    <message>
        <source>Metaloom reads, edits and strips the EXIF, IPTC, XMP and GPS metadata in your photos and videos. Everything runs on your computer with a bundled copy of ExifTool; nothing is uploaded.</source>
        <translation>Metaloom liest, bearbeitet und entfernt die EXIF-, IPTC-, XMP- und GPS-Metadaten Ihrer Fotos und Videos. Alles läuft auf Ihrem Computer mit einer mitgelieferten Kopie von ExifTool; nichts wird hochgeladen.</translation>
    </message>
    <message>
        <source>Credits</source>
        <translation>Danksagung</translation>
    </message>
    <message>
        <source>Metaloom is built on ExifTool by Phil Harvey. Thank you for decades of metadata expertise and for your continued stewardship of the ExifTool community.</source>
        <translation>Metaloom baut auf ExifTool von Phil Harvey auf. Danke für Jahrzehnte an Metadaten-Wissen und für die beständige Pflege der ExifTool-Gemeinschaft.</translation>
    </message>
    <message>
        <source>Release notes</source>
        <translation>Versionshinweise</translation>
    </message>
    <message>
        <source>Report an Issue</source>
        <translation>Problem melden</translation>
    </message>
    <message>
        <source>Privacy</source>
        <translation>Datenschutz</translation>
    </message>
    <message>
        <source>Check for &amp;Updates…</source>
        <translation>Nach &amp;Updates suchen…</translation>
    </message>
</context>
<context>
    <name>Metaloom::AdjustDatesSheet</name>
    <message>
        <source>Adjust Dates</source>
        <translation>Datumsangaben anpassen</translation>
    </message>
    <message>
        <source>Adjust the dates of “%1”.</source>
        <translation>Die Datumsangaben von „%1“ anpassen.</translation>
    </message>
    <message numerus="yes">
        <source>Adjust the dates of %n files.</source>
        <translation>
            <numerusform>Die Datumsangaben von %n Datei anpassen.</numerusform>
            <numerusform>Die Datumsangaben von %n Dateien anpassen.</numerusform>
        </translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Before</source>
        <translation>Vorher</translation>
    </message>
    <message>
        <source>After</source>
        <translation>Nachher</translation>
    </message>
    <message>
        <source>Shift by</source>
        <translation>Verschieben um</translation>
    </message>
    <message>
        <source>Set to</source>
        <translation>Setzen auf</translation>
    </message>
    <message>
        <source>Take the shift from a photo</source>
        <translation>Verschiebung aus einem Foto ermitteln</translation>
    </message>
    <message>
        <source>later</source>
        <comment>shift the dates forwards</comment>
        <translation>später</translation>
    </message>
    <message>
        <source>earlier</source>
        <comment>shift the dates back</comment>
        <translation>früher</translation>
    </message>
    <message>
        <source> d</source>
        <comment>days</comment>
        <translation> T</translation>
    </message>
    <message>
        <source> h</source>
        <comment>hours</comment>
        <translation> Std.</translation>
    </message>
    <message>
        <source> min</source>
        <comment>minutes</comment>
        <translation> Min.</translation>
    </message>
    <message>
        <source> s</source>
        <comment>seconds</comment>
        <translation> s</translation>
    </message>
    <message>
        <source>shows</source>
        <translation>zeigt</translation>
    </message>
    <message>
        <source>Capture dates</source>
        <translation>Aufnahmedaten</translation>
    </message>
    <message>
        <source>Modification dates</source>
        <translation>Änderungsdaten</translation>
    </message>
    <message>
        <source>The file&apos;s modification date</source>
        <translation>Das Änderungsdatum der Datei</translation>
    </message>
    <message>
        <source>Dates:</source>
        <translation>Datumsangaben:</translation>
    </message>
    <message>
        <source>Keep</source>
        <translation>Beibehalten</translation>
    </message>
    <message>
        <source>Time zone:</source>
        <translation>Zeitzone:</translation>
    </message>
    <message>
        <source>As the video tells, otherwise local time</source>
        <translation>Wie im Video angegeben, sonst Ortszeit</translation>
    </message>
    <message>
        <source>As the video tells, otherwise UTC</source>
        <translation>Wie im Video angegeben, sonst UTC</translation>
    </message>
    <message>
        <source>Local time</source>
        <translation>Ortszeit</translation>
    </message>
    <message>
        <source>UTC</source>
        <translation>UTC</translation>
    </message>
    <message>
        <source>Video dates (QuickTime):</source>
        <translation>Videodaten (QuickTime):</translation>
    </message>
    <message>
        <source>The dates move by %1.</source>
        <translation>Die Datumsangaben verschieben sich um %1.</translation>
    </message>
    <message>
        <source>This photo has no capture date.</source>
        <translation>Dieses Foto hat kein Aufnahmedatum.</translation>
    </message>
    <message>
        <source>Nothing to change</source>
        <translation>Nichts zu ändern</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keines</translation>
    </message>
    <message>
        <source>removed</source>
        <translation>entfernt</translation>
    </message>
</context>
<context>
    <name>Metaloom::BatchProgressView</name>
    <message>
        <source>Stop after the file being changed; files done stay done</source>
        <translation>Nach der gerade bearbeiteten Datei anhalten; fertige Dateien bleiben fertig</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
<context>
    <name>Metaloom::CompareView</name>
    <message>
        <source>Compare</source>
        <translation>Vergleichen</translation>
    </message>
    <message>
        <source>&amp;Only differences</source>
        <translation>&amp;Nur Unterschiede</translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 und %2</translation>
    </message>
    <message>
        <source>Tag</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>Reading both files…</source>
        <translation>Beide Dateien werden gelesen…</translation>
    </message>
    <message>
        <source>(not present)</source>
        <translation>(nicht vorhanden)</translation>
    </message>
    <message>
        <source>The two files hold the same tag.</source>
        <translation>Die beiden Dateien enthalten dasselbe Tag.</translation>
    </message>
    <message numerus="yes">
        <source>The two files hold the same %n tags.</source>
        <translation>
            <numerusform>Die beiden Dateien enthalten dasselbe Tag.</numerusform>
            <numerusform>Die beiden Dateien enthalten dieselben %n Tags.</numerusform>
        </translation>
    </message>
    <message>
        <source>1 of %1 tags differs.</source>
        <translation>1 von %1 Tags unterscheidet sich.</translation>
    </message>
    <message numerus="yes">
        <source>%n of %1 tags differ.</source>
        <translation>
            <numerusform>%n von %1 Tags unterscheidet sich.</numerusform>
            <numerusform>%n von %1 Tags unterscheiden sich.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Metaloom::ConfirmationDialog</name>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
<context>
    <name>Metaloom::ContentView</name>
    <message>
        <source>Choose a file in the list to inspect its metadata.</source>
        <translation>Wählen Sie eine Datei in der Liste, um ihre Metadaten anzusehen.</translation>
    </message>
    <message>
        <source>Working…</source>
        <translation>Wird bearbeitet…</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importieren</translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation>Su&amp;chen</translation>
    </message>
    <message>
        <source>Privacy</source>
        <translation>Privatsphäre</translation>
    </message>
    <message>
        <source>Show what in this file tells where, when, who and with what</source>
        <translation>Zeigen, was in dieser Datei verrät, wo, wann, wer und womit</translation>
    </message>
</context>
<context>
    <name>Metaloom::CopyMetadataDialog</name>
    <message>
        <source>(none)</source>
        <translation>(keine)</translation>
    </message>
    <message>
        <source>1 change</source>
        <translation>1 Änderung</translation>
    </message>
    <message numerus="yes">
        <source>%n changes</source>
        <translation>
            <numerusform>%n Änderung</numerusform>
            <numerusform>%n Änderungen</numerusform>
        </translation>
    </message>
    <message>
        <source>1 file</source>
        <translation>1 Datei</translation>
    </message>
    <message numerus="yes">
        <source>%n files</source>
        <translation>
            <numerusform>%n Datei</numerusform>
            <numerusform>%n Dateien</numerusform>
        </translation>
    </message>
    <message>
        <source>Copy Metadata From…</source>
        <translation>Metadaten übernehmen von…</translation>
    </message>
    <message>
        <source>Copy metadata into %1</source>
        <translation>Metadaten in %1 übernehmen</translation>
    </message>
    <message>
        <source>Each file&apos;s RAW+JPEG partner</source>
        <translation>Die RAW+JPEG-Partnerdatei jeder Datei</translation>
    </message>
    <message>
        <source>Other File…</source>
        <translation>Andere Datei…</translation>
    </message>
    <message>
        <source>&amp;From:</source>
        <translation>&amp;Von:</translation>
    </message>
    <message>
        <source>&amp;Copy:</source>
        <translation>&amp;Tags:</translation>
    </message>
    <message>
        <source>Tag</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>Now</source>
        <translation>Jetzt</translation>
    </message>
    <message>
        <source>After</source>
        <translation>Danach</translation>
    </message>
    <message>
        <source>Co&amp;py</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Copy Metadata From</source>
        <translation>Metadaten übernehmen von</translation>
    </message>
    <message>
        <source>Reading the files…</source>
        <translation>Die Dateien werden gelesen…</translation>
    </message>
    <message>
        <source>Nothing to read</source>
        <translation>Nichts zu lesen</translation>
    </message>
    <message>
        <source>No partner file</source>
        <translation>Keine Partnerdatei</translation>
    </message>
    <message>
        <source>Already the same</source>
        <translation>Bereits gleich</translation>
    </message>
    <message>
        <source>Nothing to copy: the files already hold these tags.</source>
        <translation>Nichts zu übernehmen: Die Dateien enthalten diese Tags bereits.</translation>
    </message>
    <message>
        <source>%1 in %2.</source>
        <translation>%1 in %2.</translation>
    </message>
</context>
<context>
    <name>Metaloom::DropZoneView</name>
    <message>
        <source>Drop images or media files here</source>
        <translation>Bilder oder Mediendateien hier ablegen</translation>
    </message>
    <message>
        <source>Choose a file from the list or import new media to inspect its metadata.</source>
        <translation>Wählen Sie eine Datei aus der Liste oder importieren Sie neue Medien, um ihre Metadaten anzusehen.</translation>
    </message>
    <message>
        <source>You can also use Paste (Ctrl+V) or the Import button in the toolbar.</source>
        <translation>Sie können auch „Einfügen“ (Strg+V) oder die Schaltfläche „Importieren“ in der Werkzeugleiste verwenden.</translation>
    </message>
    <message>
        <source>&amp;Select Files…</source>
        <translation>Dateien &amp;auswählen…</translation>
    </message>
</context>
<context>
    <name>Metaloom::FileHeaderView</name>
    <message>
        <source>File name</source>
        <translation>Dateiname</translation>
    </message>
    <message>
        <source>File path</source>
        <translation>Dateipfad</translation>
    </message>
    <message>
        <source>Save Changes</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Revert</source>
        <translation>Verwerfen</translation>
    </message>
    <message>
        <source>Remove Metadata</source>
        <translation>Metadaten entfernen</translation>
    </message>
    <message>
        <source>Remove metadata from the selected file</source>
        <translation>Metadaten aus der ausgewählten Datei entfernen</translation>
    </message>
    <message>
        <source>Reload</source>
        <translation>Neu laden</translation>
    </message>
    <message>
        <source>Remove Metadata from %1 Files…</source>
        <translation>Metadaten aus %1 Dateien entfernen…</translation>
    </message>
</context>
<context>
    <name>Metaloom::FileListView</name>
    <message>
        <source>Files</source>
        <translation>Dateien</translation>
    </message>
</context>
<context>
    <name>Metaloom::LibraryViewModel</name>
    <message>
        <source>Files are still being changed. Wait until they are done, or cancel.</source>
        <translation>Dateien werden noch geändert. Warten Sie, bis sie fertig sind, oder brechen Sie ab.</translation>
    </message>
    <message>
        <source>Select an item to export metadata.</source>
        <translation>Wählen Sie eine Datei, um ihre Metadaten zu exportieren.</translation>
    </message>
    <message>
        <source>Metadata is still loading. Try again in a moment.</source>
        <translation>Die Metadaten werden noch geladen. Versuchen Sie es gleich noch einmal.</translation>
    </message>
    <message>
        <source>Exported metadata as %1.</source>
        <translation>Metadaten als %1 exportiert.</translation>
    </message>
    <message>
        <source>Metadata Not Exported</source>
        <translation>Metadaten nicht exportiert</translation>
    </message>
    <message>
        <source>File Not Added</source>
        <translation>Datei nicht hinzugefügt</translation>
    </message>
    <message>
        <source>Files Not Added</source>
        <translation>Dateien nicht hinzugefügt</translation>
    </message>
    <message>
        <source>The folder &apos;%1&apos; holds no files to import.</source>
        <translation>Der Ordner „%1“ enthält keine Dateien zum Importieren.</translation>
    </message>
    <message>
        <source>Only files on this computer can be imported.</source>
        <translation>Nur Dateien auf diesem Computer können importiert werden.</translation>
    </message>
    <message>
        <source>All files cleared.</source>
        <translation>Alle Dateien aus der Liste entfernt.</translation>
    </message>
    <message>
        <source>This tag is read-only in ExifTool.</source>
        <translation>Dieses Tag ist in ExifTool schreibgeschützt.</translation>
    </message>
    <message>
        <source>Changes reverted.</source>
        <translation>Änderungen verworfen.</translation>
    </message>
    <message>
        <source>No changes to save.</source>
        <translation>Keine Änderungen zu speichern.</translation>
    </message>
    <message>
        <source>Selected tags are read-only in ExifTool.</source>
        <translation>Die ausgewählten Tags sind in ExifTool schreibgeschützt.</translation>
    </message>
    <message>
        <source>Some metadata tags are read-only.</source>
        <translation>Manche Metadaten-Tags sind schreibgeschützt.</translation>
    </message>
    <message>
        <source>No files loaded to apply preset to.</source>
        <translation>Keine Dateien geladen, auf die eine Vorgabe angewendet werden könnte.</translation>
    </message>
    <message>
        <source>Preset has no operations to apply.</source>
        <translation>Die Vorgabe enthält nichts anzuwenden.</translation>
    </message>
    <message>
        <source>No files loaded to remove metadata from.</source>
        <translation>Keine Dateien geladen, aus denen Metadaten entfernt werden könnten.</translation>
    </message>
    <message>
        <source>Select a file to remove metadata from.</source>
        <translation>Wählen Sie eine Datei, aus der Metadaten entfernt werden sollen.</translation>
    </message>
    <message>
        <source>ExifTool Error</source>
        <translation>ExifTool-Fehler</translation>
    </message>
    <message>
        <source>Changes Not Saved to %1</source>
        <translation>Änderungen nicht in %1 gespeichert</translation>
    </message>
    <message numerus="yes">
        <source>Metadata of %n files</source>
        <translation>
            <numerusform>Metadaten von %n Datei</numerusform>
            <numerusform>Metadaten von %n Dateien</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Exported the metadata of %n files as %1.</source>
        <translation>
            <numerusform>Die Metadaten von %n Datei wurden als %1 exportiert.</numerusform>
            <numerusform>Die Metadaten von %n Dateien wurden als %1 exportiert.</numerusform>
        </translation>
    </message>
    <message>
        <source>Select files to apply the preset to.</source>
        <translation>Wählen Sie die Dateien aus, auf die die Vorgabe angewendet werden soll.</translation>
    </message>
    <message numerus="yes">
        <source>%n selected files</source>
        <translation>
            <numerusform>%n ausgewählte Datei</numerusform>
            <numerusform>%n ausgewählte Dateien</numerusform>
        </translation>
    </message>
    <message>
        <source>Can&apos;t read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Choose two files to compare.</source>
        <translation>Wählen Sie zwei Dateien zum Vergleichen aus.</translation>
    </message>
    <message>
        <source>Choose the files to copy metadata into first.</source>
        <translation>Wählen Sie zuerst die Dateien aus, in die die Metadaten kopiert werden sollen.</translation>
    </message>
    <message>
        <source>There is no other file to copy the metadata into.</source>
        <translation>Es gibt keine andere Datei, in die die Metadaten kopiert werden können.</translation>
    </message>
    <message>
        <source>Choose the files whose dates to adjust first.</source>
        <translation>Wählen Sie zuerst die Dateien, deren Datumsangaben angepasst werden sollen.</translation>
    </message>
    <message numerus="yes">
        <source>%n values</source>
        <translation>
            <numerusform>%n Wert</numerusform>
            <numerusform>%n Werte</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Metaloom::MainWindow</name>
    <message>
        <source>Metaloom</source>
        <translation>Metaloom</translation>
    </message>
    <message>
        <source>Your changes will be lost if you don&apos;t save them.</source>
        <translation>Ihre Änderungen gehen verloren, wenn Sie sie nicht speichern.</translation>
    </message>
    <message>
        <source>Save changes to “%1”?</source>
        <translation>Änderungen an „%1“ speichern?</translation>
    </message>
    <message numerus="yes">
        <source>Save changes to %n files?</source>
        <translation>
            <numerusform>Änderungen an %n Datei speichern?</numerusform>
            <numerusform>Änderungen an %n Dateien speichern?</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Save All</source>
        <translation>Alle &amp;speichern</translation>
    </message>
</context>
<context>
    <name>Metaloom::MetadataEditorView</name>
    <message>
        <source>Metadata</source>
        <translation>Metadaten</translation>
    </message>
    <message>
        <source>No tags match “%1”.</source>
        <translation>Keine Tags passen zu „%1“.</translation>
    </message>
</context>
<context>
    <name>Metaloom::MetadataOverridesEditor</name>
    <message>
        <source>Metadata Operations:</source>
        <translation>Metadaten-Operationen:</translation>
    </message>
    <message>
        <source>Add/Modify</source>
        <translation>Hinzufügen/Ändern</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Add or modify these metadata fields (a field on several lines gets each value as a list item):</source>
        <translation>Diese Metadatenfelder hinzufügen oder ändern (ein Feld in mehreren Zeilen erhält jeden Wert als Listenelement):</translation>
    </message>
    <message>
        <source>Remove these metadata fields:</source>
        <translation>Diese Metadatenfelder entfernen:</translation>
    </message>
    <message>
        <source>Metadata tag to remove</source>
        <translation>Zu entfernendes Metadaten-Tag</translation>
    </message>
    <message>
        <source>Remove field</source>
        <translation>Feld entfernen</translation>
    </message>
    <message>
        <source>Add &amp;Field to Remove</source>
        <translation>Zu entfernendes &amp;Feld hinzufügen</translation>
    </message>
</context>
<context>
    <name>Metaloom::MetadataRowDelegate</name>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>Mixed values</source>
        <translation>Verschiedene Werte</translation>
    </message>
</context>
<context>
    <name>Metaloom::MetadataSettingsView</name>
    <message>
        <source>Choose which metadata fields appear by default and define additional keys to edit.</source>
        <translation>Wählen Sie, welche Metadatenfelder standardmäßig erscheinen, und legen Sie weitere Schlüssel zum Bearbeiten fest.</translation>
    </message>
    <message>
        <source>Visible Metadata Fields</source>
        <translation>Sichtbare Metadatenfelder</translation>
    </message>
    <message>
        <source>Search fields</source>
        <translation>Felder durchsuchen</translation>
    </message>
    <message>
        <source>No matching fields</source>
        <translation>Keine passenden Felder</translation>
    </message>
    <message>
        <source>Custom Fields</source>
        <translation>Eigene Felder</translation>
    </message>
    <message>
        <source>Add metadata keys even if they aren&apos;t present yet. Use optional Label:Key format to override the display name.</source>
        <translation>Fügen Sie Metadatenschlüssel hinzu, auch wenn es sie noch nicht gibt. Mit dem optionalen Format Bezeichnung:Schlüssel legen Sie den angezeigten Namen fest.</translation>
    </message>
    <message>
        <source>No custom fields yet</source>
        <translation>Noch keine eigenen Felder</translation>
    </message>
    <message>
        <source>Label or key</source>
        <translation>Bezeichnung oder Schlüssel</translation>
    </message>
    <message>
        <source>Delete custom field</source>
        <translation>Eigenes Feld löschen</translation>
    </message>
    <message>
        <source>Enter a metadata key (optional Label:Key).</source>
        <translation>Geben Sie einen Metadatenschlüssel ein (optional Bezeichnung:Schlüssel).</translation>
    </message>
    <message>
        <source>A custom field with that key already exists.</source>
        <translation>Ein eigenes Feld mit diesem Schlüssel gibt es schon.</translation>
    </message>
    <message>
        <source>&amp;Add Custom Field</source>
        <translation>Eigenes Feld &amp;hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Done</source>
        <translation>&amp;Fertig</translation>
    </message>
</context>
<context>
    <name>Metaloom::OverrideLineEditor</name>
    <message>
        <source>Metadata tag</source>
        <translation>Metadaten-Tag</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>Remove row</source>
        <translation>Zeile entfernen</translation>
    </message>
    <message>
        <source>Add row below</source>
        <translation>Zeile darunter hinzufügen</translation>
    </message>
</context>
<context>
    <name>Metaloom::PresetManagerView</name>
    <message>
        <source>Manage Presets</source>
        <translation>Vorgaben verwalten</translation>
    </message>
    <message>
        <source>Preset saved successfully</source>
        <translation>Vorgabe erfolgreich gespeichert</translation>
    </message>
    <message>
        <source>Create reusable metadata presets, then apply them from the main toolbar.</source>
        <translation>Legen Sie wiederverwendbare Metadaten-Vorgaben an und wenden Sie sie dann über die Werkzeugleiste an.</translation>
    </message>
    <message>
        <source>Preset</source>
        <translation>Vorgabe</translation>
    </message>
    <message>
        <source>Choose a preset</source>
        <translation>Vorgabe wählen</translation>
    </message>
    <message>
        <source>Preset Name</source>
        <translation>Name der Vorgabe</translation>
    </message>
    <message>
        <source>Delete preset</source>
        <translation>Vorgabe löschen</translation>
    </message>
    <message>
        <source>New Preset</source>
        <translation>Neue Vorgabe</translation>
    </message>
    <message>
        <source>No preset selected</source>
        <translation>Keine Vorgabe ausgewählt</translation>
    </message>
    <message>
        <source>Create a new preset or choose an existing one from the list on the left.</source>
        <translation>Legen Sie eine neue Vorgabe an oder wählen Sie eine vorhandene aus der Liste links.</translation>
    </message>
    <message>
        <source>Untitled Preset</source>
        <translation>Unbenannte Vorgabe</translation>
    </message>
    <message>
        <source>Preset Not Saved</source>
        <translation>Vorgabe nicht gespeichert</translation>
    </message>
    <message>
        <source>Presets Not Saved</source>
        <translation>Vorgaben nicht gespeichert</translation>
    </message>
    <message>
        <source>The change could not be written to the preferences file. It stays in this window, but it will be gone the next time Metaloom starts.</source>
        <translation>Die Änderung konnte nicht in die Einstellungsdatei geschrieben werden. Sie bleibt in diesem Fenster erhalten, ist aber beim nächsten Start von Metaloom verloren.</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Do you want to save the new preset before closing?</source>
        <translation>Möchten Sie die neue Vorgabe vor dem Schließen speichern?</translation>
    </message>
    <message>
        <source>Do you want to save the changes to the preset “%1” before closing?</source>
        <translation>Möchten Sie die Änderungen an der Vorgabe „%1“ vor dem Schließen speichern?</translation>
    </message>
    <message>
        <source>Unsaved Preset</source>
        <translation>Nicht gespeicherte Vorgabe</translation>
    </message>
    <message>
        <source>Your changes will be lost if you don&apos;t save them.</source>
        <translation>Ihre Änderungen gehen verloren, wenn Sie sie nicht speichern.</translation>
    </message>
    <message>
        <source>&amp;Don&apos;t Save</source>
        <translation>&amp;Nicht speichern</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
<context>
    <name>Metaloom::PrivacyPanel</name>
    <message>
        <source>Tag</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>Privacy</source>
        <translation>Privatsphäre</translation>
    </message>
    <message>
        <source>Nothing found that tells where, when, who or with what.</source>
        <translation>Nichts gefunden, was verrät, wo, wann, wer oder womit.</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message numerus="yes">
        <source>%1 and %n more files</source>
        <translation>
            <numerusform>%1 und %n weiteren Datei</numerusform>
            <numerusform>%1 und %n weiteren Dateien</numerusform>
        </translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Dateien</translation>
    </message>
    <message>
        <source>%1 — in %2</source>
        <translation>%1 — in %2</translation>
    </message>
    <message>
        <source>(differs between files)</source>
        <translation>(je nach Datei verschieden)</translation>
    </message>
    <message>
        <source>in every file</source>
        <translation>in jeder Datei</translation>
    </message>
</context>
<context>
    <name>Metaloom::RemovalKeyPickerMenu</name>
    <message>
        <source>Choose a known tag</source>
        <translation>Bekanntes Tag wählen</translation>
    </message>
    <message>
        <source>Type part of a name in the field to find a tag</source>
        <translation>Geben Sie einen Teil des Namens in das Feld ein, um ein Tag zu finden</translation>
    </message>
</context>
<context>
    <name>Metaloom::RemoveAllMetadataConfirmation</name>
    <message>
        <source>Remove All Metadata</source>
        <translation>Alle Metadaten entfernen</translation>
    </message>
    <message>
        <source>&amp;Remove All Metadata</source>
        <translation>Alle Metadaten &amp;entfernen</translation>
    </message>
</context>
<context>
    <name>Metaloom::RemoveMetadataConfirmation</name>
    <message>
        <source>Remove Metadata</source>
        <translation>Metadaten entfernen</translation>
    </message>
    <message>
        <source>&amp;Remove Metadata</source>
        <translation>Metadaten &amp;entfernen</translation>
    </message>
</context>
<context>
    <name>Metaloom::SettingsView</name>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Metadata</source>
        <translation>Metadaten</translation>
    </message>
    <message>
        <source>Our Apps</source>
        <translation>Unsere Apps</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Close Settings</source>
        <translation>Einstellungen schließen</translation>
    </message>
</context>
<context>
    <name>Metaloom::SidebarRowDelegate</name>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>%1 · %2</source>
        <comment>file type and folder</comment>
        <translation>%1 · %2</translation>
    </message>
</context>
<context>
    <name>Metaloom::SidebarView</name>
    <message>
        <source>Files</source>
        <translation>Dateien</translation>
    </message>
    <message>
        <source>Import files</source>
        <translation>Dateien importieren</translation>
    </message>
    <message>
        <source>Remove all metadata from loaded files</source>
        <translation>Alle Metadaten aus den geladenen Dateien entfernen</translation>
    </message>
    <message>
        <source>Clear all files</source>
        <translation>Alle Dateien aus der Liste entfernen</translation>
    </message>
    <message>
        <source>No files yet</source>
        <translation>Noch keine Dateien</translation>
    </message>
    <message>
        <source>Import media to see EXIF metadata.</source>
        <translation>Importieren Sie Medien, um ihre EXIF-Metadaten zu sehen.</translation>
    </message>
</context>
<context>
    <name>Metaloom::UpdateResultDialog</name>
    <message>
        <source>Software Update</source>
        <translation>Softwareaktualisierung</translation>
    </message>
    <message>
        <source>A new version of Metaloom is available</source>
        <translation>Eine neue Version von Metaloom ist verfügbar</translation>
    </message>
    <message>
        <source>Metaloom %1 is available; you have %2. Metaloom does not install updates itself: get the new version from its download page.</source>
        <translation>Metaloom %1 ist verfügbar; Sie haben %2. Metaloom installiert Updates nicht selbst: Holen Sie sich die neue Version von ihrer Download-Seite.</translation>
    </message>
    <message>
        <source>You&apos;re up to date</source>
        <translation>Sie sind auf dem neuesten Stand</translation>
    </message>
    <message>
        <source>Metaloom %1 is the newest version available.</source>
        <translation>Metaloom %1 ist die neueste verfügbare Version.</translation>
    </message>
    <message>
        <source>Metaloom could not check for updates</source>
        <translation>Metaloom konnte nicht nach Updates suchen</translation>
    </message>
    <message>
        <source>&amp;Open Download Page</source>
        <translation>Download-Seite ö&amp;ffnen</translation>
    </message>
    <message>
        <source>&amp;Later</source>
        <translation>&amp;Später</translation>
    </message>
</context>
<context>
    <name>Metaloom::ValueListEditor</name>
    <message>
        <source>One item per line (Return on an empty line finishes)</source>
        <translation>Ein Eintrag pro Zeile (Eingabe in einer leeren Zeile beendet)</translation>
    </message>
    <message>
        <source>Return starts the next item; Return on an empty line or Ctrl+Return finishes editing the list.</source>
        <translation>Die Eingabetaste beginnt den nächsten Eintrag; Eingabe in einer leeren Zeile oder Strg+Eingabe beendet die Bearbeitung der Liste.</translation>
    </message>
</context>
<context>
    <name>Metaloom::ValueTextEditor</name>
    <message>
        <source>Value (Return finishes, Shift+Return adds a line)</source>
        <translation>Wert (Eingabe beendet, Umschalt+Eingabe fügt eine Zeile hinzu)</translation>
    </message>
    <message>
        <source>Return finishes editing the value; Shift+Return starts a new line.</source>
        <translation>Die Eingabetaste beendet die Bearbeitung des Werts; Umschalt+Eingabe beginnt eine neue Zeile.</translation>
    </message>
</context>
<context>
    <name>Metaloom::WindowSheets</name>
    <message>
        <source>&amp;Write Anyway</source>
        <translation>&amp;Trotzdem schreiben</translation>
    </message>
    <message>
        <source>Strip profile:</source>
        <translation>Bereinigungsprofil:</translation>
    </message>
</context>
<context>
    <name>Metaloom::WindowToolbar</name>
    <message>
        <source>Show or hide the sidebar</source>
        <translation>Seitenleiste ein- oder ausblenden</translation>
    </message>
    <message>
        <source>Apply Preset</source>
        <translation>Vorgabe anwenden</translation>
    </message>
    <message>
        <source>Manage metadata presets</source>
        <translation>Metadaten-Vorgaben verwalten</translation>
    </message>
    <message>
        <source>Remove all metadata from loaded files</source>
        <translation>Alle Metadaten aus den geladenen Dateien entfernen</translation>
    </message>
    <message>
        <source>Filter metadata</source>
        <translation>Metadaten filtern</translation>
    </message>
    <message>
        <source>Apply Preset to %1 Files</source>
        <translation>Vorgabe auf %1 Dateien anwenden</translation>
    </message>
    <message>
        <source>Apply Preset to All Files</source>
        <translation>Vorgabe auf alle Dateien anwenden</translation>
    </message>
</context>
<context>
    <name>MinorErrors</name>
    <message>
        <source>the file is a bare JPEG XL image: to hold metadata it has to be put into a container, which some older programs cannot open</source>
        <translation>die Datei ein bloßes JPEG-XL-Bild ist: Um Metadaten aufzunehmen, müsste sie in einen Container gepackt werden, den manche ältere Programme nicht öffnen können</translation>
    </message>
    <message>
        <source>the file says its image data is larger or smaller than it is</source>
        <translation>die Datei ihre Bilddaten größer oder kleiner angibt, als sie sind</translation>
    </message>
    <message>
        <source>a part of the file&apos;s metadata looks damaged</source>
        <translation>ein Teil der Metadaten der Datei beschädigt aussieht</translation>
    </message>
    <message>
        <source>a part of the file&apos;s metadata points to the wrong place</source>
        <translation>ein Teil der Metadaten der Datei an die falsche Stelle verweist</translation>
    </message>
    <message>
        <source>the camera&apos;s own notes in the file look damaged and may be lost</source>
        <translation>die eigenen Notizen der Kamera in der Datei beschädigt aussehen und verloren gehen können</translation>
    </message>
    <message>
        <source>the file holds a part of its metadata twice</source>
        <translation>die Datei einen Teil ihrer Metadaten doppelt enthält</translation>
    </message>
    <message>
        <source>the file&apos;s structure is unusual in a way ExifTool reports as a minor problem</source>
        <translation>der Aufbau der Datei auf eine Weise ungewöhnlich ist, die ExifTool als kleineres Problem meldet</translation>
    </message>
</context>
<context>
    <name>PosixFile</name>
    <message>
        <source>Could not create a new copy of “%1”: %2.</source>
        <translation>Eine neue Kopie von „%1“ konnte nicht angelegt werden: %2.</translation>
    </message>
    <message>
        <source>Could not keep the permissions of “%1”: %2.</source>
        <translation>Die Zugriffsrechte von „%1“ konnten nicht erhalten werden: %2.</translation>
    </message>
    <message>
        <source>Could not keep the modification date of “%1”: %2.</source>
        <translation>Das Änderungsdatum von „%1“ konnte nicht erhalten werden: %2.</translation>
    </message>
    <message>
        <source>Could not write the new content of “%1”: %2.</source>
        <translation>Der neue Inhalt von „%1“ konnte nicht geschrieben werden: %2.</translation>
    </message>
    <message>
        <source>Could not replace “%1”: %2.</source>
        <translation>„%1“ konnte nicht ersetzt werden: %2.</translation>
    </message>
    <message>
        <source>Could not make a backup of “%1”: %2.</source>
        <translation>Von „%1“ konnte keine Sicherungskopie angelegt werden: %2.</translation>
    </message>
    <message>
        <source>Metaloom can&apos;t modify “%1”: %2.</source>
        <translation>Metaloom kann „%1“ nicht ändern: %2.</translation>
    </message>
    <message>
        <source>Could not prepare the rewrite of “%1”: %2.</source>
        <translation>Das Neuschreiben von „%1“ konnte nicht vorbereitet werden: %2.</translation>
    </message>
    <message>
        <source>Could not reserve “%1”: %2.</source>
        <translation>„%1“ konnte nicht reserviert werden: %2.</translation>
    </message>
    <message>
        <source>Could not create a working file in “%1”: %2.</source>
        <translation>In „%1“ konnte keine Arbeitsdatei angelegt werden: %2.</translation>
    </message>
    <message>
        <source>Could not write the working file “%1”: %2.</source>
        <translation>Die Arbeitsdatei „%1“ konnte nicht geschrieben werden: %2.</translation>
    </message>
</context>
<context>
    <name>PrivacyReportTexts</name>
    <message>
        <source>no location</source>
        <translation>keine Ortsangaben</translation>
    </message>
    <message>
        <source>no people</source>
        <translation>keine Personen</translation>
    </message>
    <message>
        <source>no device serial</source>
        <translation>keine Geräteseriennummer</translation>
    </message>
    <message>
        <source>no dates</source>
        <translation>keine Datumsangaben</translation>
    </message>
    <message>
        <source>no hidden pictures</source>
        <translation>keine versteckten Bilder</translation>
    </message>
    <message>
        <source>no edit history</source>
        <translation>kein Bearbeitungsverlauf</translation>
    </message>
    <message>
        <source>1 location detail</source>
        <translation>1 Ortsangabe</translation>
    </message>
    <message numerus="yes">
        <source>%n location details</source>
        <translation>
            <numerusform>%n Ortsangabe</numerusform>
            <numerusform>%n Ortsangaben</numerusform>
        </translation>
    </message>
    <message>
        <source>1 personal detail</source>
        <translation>1 persönliche Angabe</translation>
    </message>
    <message numerus="yes">
        <source>%n personal details</source>
        <translation>
            <numerusform>%n persönliche Angabe</numerusform>
            <numerusform>%n persönliche Angaben</numerusform>
        </translation>
    </message>
    <message>
        <source>1 device detail</source>
        <translation>1 Geräteangabe</translation>
    </message>
    <message numerus="yes">
        <source>%n device details</source>
        <translation>
            <numerusform>%n Geräteangabe</numerusform>
            <numerusform>%n Geräteangaben</numerusform>
        </translation>
    </message>
    <message>
        <source>1 date</source>
        <translation>1 Datumsangabe</translation>
    </message>
    <message numerus="yes">
        <source>%n dates</source>
        <translation>
            <numerusform>%n Datumsangabe</numerusform>
            <numerusform>%n Datumsangaben</numerusform>
        </translation>
    </message>
    <message>
        <source>1 hidden picture</source>
        <translation>1 verstecktes Bild</translation>
    </message>
    <message numerus="yes">
        <source>%n hidden pictures</source>
        <translation>
            <numerusform>%n verstecktes Bild</numerusform>
            <numerusform>%n versteckte Bilder</numerusform>
        </translation>
    </message>
    <message>
        <source>1 edit history detail</source>
        <translation>1 Angabe zum Bearbeitungsverlauf</translation>
    </message>
    <message numerus="yes">
        <source>%n edit history details</source>
        <translation>
            <numerusform>%n Angabe zum Bearbeitungsverlauf</numerusform>
            <numerusform>%n Angaben zum Bearbeitungsverlauf</numerusform>
        </translation>
    </message>
    <message>
        <source>orientation</source>
        <translation>Ausrichtung</translation>
    </message>
    <message>
        <source>colour profile</source>
        <translation>Farbprofil</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Ort</translation>
    </message>
    <message>
        <source>People and owners</source>
        <translation>Personen und Eigentümer</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>Gerät</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Hidden pictures</source>
        <translation>Versteckte Bilder</translation>
    </message>
    <message>
        <source>Edit history</source>
        <translation>Bearbeitungsverlauf</translation>
    </message>
    <message>
        <source>%1 left.</source>
        <translation>%1 übrig.</translation>
    </message>
    <message>
        <source>%1 could not be removed from this file type: %2.</source>
        <translation>%1 ließ sich aus diesem Dateityp nicht entfernen: %2.</translation>
    </message>
    <message>
        <source>Blanked, since this file type keeps it: %1.</source>
        <translation>Geleert, da dieser Dateityp es behält: %1.</translation>
    </message>
    <message>
        <source>Blanked, since this file type keeps them: %1.</source>
        <translation>Geleert, da dieser Dateityp sie behält: %1.</translation>
    </message>
    <message>
        <source>Kept: %1.</source>
        <translation>Behalten: %1.</translation>
    </message>
    <message>
        <source>stripped.</source>
        <translation>bereinigt.</translation>
    </message>
    <message>
        <source>Everything</source>
        <translation>Alles</translation>
    </message>
    <message>
        <source>Everything except orientation and colour profile</source>
        <translation>Alles außer Ausrichtung und Farbprofil</translation>
    </message>
    <message>
        <source>Location only</source>
        <translation>Nur Ortsangaben</translation>
    </message>
    <message>
        <source>Personal and device details</source>
        <translation>Persönliche und Geräteangaben</translation>
    </message>
    <message>
        <source>Stripped %1 with “%2”: nothing of it left.</source>
        <translation>%1 mit „%2“ bereinigt: nichts davon übrig.</translation>
    </message>
    <message>
        <source>Not Everything Could Be Removed</source>
        <translation>Nicht alles ließ sich entfernen</translation>
    </message>
    <message numerus="yes">
        <source>%1 and %n more</source>
        <translation>
            <numerusform>%1 und %n weiteres</numerusform>
            <numerusform>%1 und %n weitere</numerusform>
        </translation>
    </message>
    <message>
        <source>1 other tag</source>
        <translation>1 weiteres Tag</translation>
    </message>
    <message numerus="yes">
        <source>%n other tags</source>
        <translation>
            <numerusform>%n weiteres Tag</numerusform>
            <numerusform>%n weitere Tags</numerusform>
        </translation>
    </message>
    <message>
        <source>Stripped %1 of %2 with “%3”: nothing of it left.</source>
        <translation>%1 von %2 mit „%3“ bereinigt: nichts davon übrig.</translation>
    </message>
</context>
<context>
    <name>PrivateFolder</name>
    <message>
        <source>Metaloom has no private folder for its working files: neither “%1” can be used nor created.</source>
        <translation>Metaloom hat keinen privaten Ordner für seine Arbeitsdateien: Keiner der Ordner „%1“ lässt sich verwenden oder anlegen.</translation>
    </message>
    <message>
        <source>” nor “</source>
        <comment>between the names of two folders</comment>
        <translation>“, „</translation>
    </message>
</context>
<context>
    <name>SaveError</name>
    <message>
        <source>Metaloom can&apos;t modify “%1”. Check its permissions and try again.</source>
        <translation>Metaloom kann „%1“ nicht ändern. Prüfen Sie die Zugriffsrechte und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Metaloom can&apos;t find “%1”. It may have been moved or deleted.</source>
        <translation>Metaloom findet „%1“ nicht. Die Datei wurde vielleicht verschoben oder gelöscht.</translation>
    </message>
</context>
<context>
    <name>ServiceError</name>
    <message>
        <source>ExifTool reported an error: %1</source>
        <translation>ExifTool hat einen Fehler gemeldet: %1</translation>
    </message>
    <message>
        <source>ExifTool does not recognise %1 for this kind of file, so the file was left unchanged.</source>
        <translation>ExifTool erkennt %1 für diese Art von Datei nicht; die Datei blieb daher unverändert.</translation>
    </message>
    <message>
        <source>ExifTool did not recognise any of the fields to write.</source>
        <translation>ExifTool hat keines der zu schreibenden Felder erkannt.</translation>
    </message>
    <message>
        <source>Nothing was written to %1. %2</source>
        <translation>In %1 wurde nichts geschrieben. %2</translation>
    </message>
    <message>
        <source>The bundled exiftool binary could not be found.</source>
        <translation>Das mitgelieferte Programm exiftool wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>The bundled ExifTool libraries are missing.</source>
        <translation>Die mitgelieferten ExifTool-Bibliotheken fehlen.</translation>
    </message>
    <message>
        <source>Failed to parse metadata returned by ExifTool.</source>
        <translation>Die von ExifTool gelieferten Metadaten konnten nicht gelesen werden.</translation>
    </message>
    <message>
        <source>ExifTool did not change “%1” because %2. It can make the change anyway, ignoring this minor problem. (ExifTool: “%3”)</source>
        <translation>ExifTool hat „%1“ nicht geändert, weil %2. Es kann die Änderung trotzdem vornehmen und dieses kleinere Problem übergehen. (ExifTool: „%3“)</translation>
    </message>
</context>
<context>
    <name>SharedTagList</name>
    <message>
        <source>in %1 of %2 files</source>
        <translation>in %1 von %2 Dateien</translation>
    </message>
    <message>
        <source>(empty)</source>
        <translation>(leer)</translation>
    </message>
    <message>
        <source>%1 — 1 file</source>
        <translation>%1 — 1 Datei</translation>
    </message>
    <message>
        <source>%1 — %2 files</source>
        <translation>%1 — %2 Dateien</translation>
    </message>
    <message>
        <source>Read-only in %1.</source>
        <translation>Schreibgeschützt in %1.</translation>
    </message>
    <message>
        <source>Read-only in %1: %2</source>
        <translation>Schreibgeschützt in %1: %2</translation>
    </message>
</context>
<context>
    <name>SidebarContextMenu</name>
    <message>
        <source>Show in File Manager</source>
        <translation>Im Dateimanager zeigen</translation>
    </message>
    <message>
        <source>Copy Path</source>
        <translation>Pfad kopieren</translation>
    </message>
    <message>
        <source>Remove from List</source>
        <translation>Aus der Liste entfernen</translation>
    </message>
    <message>
        <source>Copy Metadata From…</source>
        <translation>Metadaten übernehmen von…</translation>
    </message>
    <message>
        <source>Compare</source>
        <translation>Vergleichen</translation>
    </message>
</context>
<context>
    <name>StoredJson</name>
    <message>
        <source>The stored data could not be read because it is not in the expected format.</source>
        <translation>Die gespeicherten Daten konnten nicht gelesen werden, weil sie nicht im erwarteten Format vorliegen.</translation>
    </message>
</context>
<context>
    <name>StripAll</name>
    <message>
        <source>The stripped copy of “%1” could not be kept.</source>
        <translation>Die bereinigte Kopie von „%1“ konnte nicht behalten werden.</translation>
    </message>
</context>
<context>
    <name>TagDefinitionsParser</name>
    <message>
        <source>ExifTool&apos;s tag listing could not be read: %1 (line %2, column %3).</source>
        <translation>Die Tag-Liste von ExifTool konnte nicht gelesen werden: %1 (Zeile %2, Spalte %3).</translation>
    </message>
</context>
<context>
    <name>TagKeyCatalog</name>
    <message>
        <source>Misc</source>
        <translation>Sonstige</translation>
    </message>
</context>
<context>
    <name>TagKeyRules</name>
    <message>
        <source>A tag key cannot be empty.</source>
        <translation>Ein Tag-Schlüssel darf nicht leer sein.</translation>
    </message>
    <message>
        <source>“%1” is not a tag key. A tag key is a tag name, optionally after group names and colons (for example XMP-dc:Title), made of letters, digits, “-” and “_”.</source>
        <translation>„%1“ ist kein Tag-Schlüssel. Ein Tag-Schlüssel ist ein Tag-Name, wahlweise nach Gruppennamen und Doppelpunkten (zum Beispiel XMP-dc:Title), aus Buchstaben, Ziffern, „-“ und „_“.</translation>
    </message>
    <message>
        <source>“%1” is an ExifTool option, not a tag, so Metaloom does not pass it on.</source>
        <translation>„%1“ ist eine Option von ExifTool, kein Tag; Metaloom gibt sie daher nicht weiter.</translation>
    </message>
    <message>
        <source>“%1” would rename, move or link the file itself, so Metaloom does not write it.</source>
        <translation>„%1“ würde die Datei selbst umbenennen, verschieben oder verlinken; Metaloom schreibt es daher nicht.</translation>
    </message>
    <message>
        <source>“%1” makes ExifTool read other files (GPS track logs, photos to synchronise with) and work out GPS tags from them, so Metaloom does not write it.</source>
        <translation>„%1“ lässt ExifTool andere Dateien lesen (GPS-Tracks, Fotos zum Abgleichen) und daraus GPS-Tags ermitteln; Metaloom schreibt es daher nicht.</translation>
    </message>
    <message>
        <source>“%1” is kept by the file system: a save leaves the file&apos;s owner, group and permissions as they were, so Metaloom does not write it.</source>
        <translation>„%1“ verwaltet das Dateisystem: Beim Speichern bleiben Eigentümer, Gruppe und Zugriffsrechte der Datei, wie sie waren; Metaloom schreibt es daher nicht.</translation>
    </message>
    <message>
        <source>“%1” is an ExifTool shortcut that includes the file name, which would rename or move the file itself, so Metaloom does not write it.</source>
        <translation>„%1“ ist eine Abkürzung von ExifTool, die den Dateinamen einschließt und die Datei selbst umbenennen oder verschieben würde; Metaloom schreibt sie daher nicht.</translation>
    </message>
    <message>
        <source>The value for “%1” contains a NUL character, which cannot be written.</source>
        <translation>Der Wert für „%1“ enthält ein NUL-Zeichen, das sich nicht schreiben lässt.</translation>
    </message>
</context>
<context>
    <name>TargetPath</name>
    <message>
        <source>“%1” cannot be opened: its name is not valid UTF-8 text, which Metaloom cannot handle. Rename the file, then add it again.</source>
        <translation>„%1“ kann nicht geöffnet werden: Der Name ist kein gültiger UTF-8-Text, und damit kann Metaloom nicht umgehen. Benennen Sie die Datei um und fügen Sie sie dann erneut hinzu.</translation>
    </message>
    <message>
        <source>“%1” cannot be opened: the name of a folder it is in is not valid UTF-8 text, which Metaloom cannot handle. Rename the folder, then add the file again.</source>
        <translation>„%1“ kann nicht geöffnet werden: Der Name eines Ordners, in dem die Datei liegt, ist kein gültiger UTF-8-Text, und damit kann Metaloom nicht umgehen. Benennen Sie den Ordner um und fügen Sie die Datei dann erneut hinzu.</translation>
    </message>
    <message>
        <source>“%1” is not a file on this computer.</source>
        <translation>„%1“ ist keine Datei auf diesem Computer.</translation>
    </message>
    <message>
        <source>“%1” is a folder. Metaloom reads and writes the metadata of files.</source>
        <translation>„%1“ ist ein Ordner. Metaloom liest und schreibt die Metadaten von Dateien.</translation>
    </message>
    <message>
        <source>“%1” is a named pipe, not a file. Metaloom reads and writes the metadata of files.</source>
        <translation>„%1“ ist eine benannte Pipe, keine Datei. Metaloom liest und schreibt die Metadaten von Dateien.</translation>
    </message>
    <message>
        <source>“%1” is a device, not a file. Metaloom reads and writes the metadata of files.</source>
        <translation>„%1“ ist ein Gerät, keine Datei. Metaloom liest und schreibt die Metadaten von Dateien.</translation>
    </message>
    <message>
        <source>“%1” is a socket, not a file. Metaloom reads and writes the metadata of files.</source>
        <translation>„%1“ ist ein Socket, keine Datei. Metaloom liest und schreibt die Metadaten von Dateien.</translation>
    </message>
    <message>
        <source>“%1” is not a regular file. Metaloom reads and writes the metadata of files.</source>
        <translation>„%1“ ist keine gewöhnliche Datei. Metaloom liest und schreibt die Metadaten von Dateien.</translation>
    </message>
</context>
<context>
    <name>VossaApps::AppRow</name>
    <message>
        <source>Open %1 on %2</source>
        <translation>%1 auf %2 öffnen</translation>
    </message>
</context>
<context>
    <name>VossaApps::AppsCatalog</name>
    <message>
        <source>The request was cancelled.</source>
        <translation>Die Anfrage wurde abgebrochen.</translation>
    </message>
    <message>
        <source>The app list could not be loaded.</source>
        <translation>Die App-Liste konnte nicht geladen werden.</translation>
    </message>
</context>
<context>
    <name>VossaApps::AppsFeed</name>
    <message>
        <source>The app list</source>
        <translation>Die App-Liste</translation>
    </message>
    <message>
        <source>App %1 in the list</source>
        <translation>App %1 der Liste</translation>
    </message>
    <message>
        <source>%1 has a &quot;%2&quot; that is not text.</source>
        <translation>%1 hat ein „%2“, das kein Text ist.</translation>
    </message>
    <message>
        <source>%1 has no &quot;%2&quot;.</source>
        <translation>%1 hat kein „%2“.</translation>
    </message>
    <message>
        <source>%1 has a &quot;%2&quot; that is not a web address.</source>
        <translation>%1 hat ein „%2“, das keine Webadresse ist.</translation>
    </message>
    <message>
        <source>%1 has a &quot;%2&quot; that is not a whole number.</source>
        <translation>%1 hat ein „%2“, das keine ganze Zahl ist.</translation>
    </message>
    <message>
        <source>%1 is not an object.</source>
        <translation>%1 ist kein Objekt.</translation>
    </message>
    <message>
        <source>%1 has no &quot;url&quot;.</source>
        <translation>%1 hat kein „url“.</translation>
    </message>
    <message>
        <source>The app list is not valid JSON (%1 at byte %2).</source>
        <translation>Die App-Liste ist kein gültiges JSON (%1 bei Byte %2).</translation>
    </message>
    <message>
        <source>The app list is not a JSON object.</source>
        <translation>Die App-Liste ist kein JSON-Objekt.</translation>
    </message>
    <message>
        <source>The app list has no &quot;apps&quot;.</source>
        <translation>Die App-Liste hat kein „apps“.</translation>
    </message>
    <message>
        <source>The app list has an &quot;apps&quot; that is not an array.</source>
        <translation>Die App-Liste hat ein „apps“, das kein Array ist.</translation>
    </message>
</context>
<context>
    <name>VossaApps::BusyIndicator</name>
    <message>
        <source>Loading</source>
        <translation>Wird geladen</translation>
    </message>
</context>
<context>
    <name>VossaApps::Network</name>
    <message>
        <source>The server sent more than %1, far more than this list should be, so it was not loaded.</source>
        <translation>Der Server hat mehr als %1 geschickt, weit mehr, als diese Liste sein sollte; sie wurde daher nicht geladen.</translation>
    </message>
    <message>
        <source>The request timed out.</source>
        <translation>Die Anfrage hat zu lange gedauert.</translation>
    </message>
    <message>
        <source>Could not connect to the server.</source>
        <translation>Keine Verbindung zum Server möglich.</translation>
    </message>
    <message>
        <source>A server with the specified host name could not be found.</source>
        <translation>Ein Server mit diesem Hostnamen wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>The network connection was lost.</source>
        <translation>Die Netzwerkverbindung ist abgebrochen.</translation>
    </message>
    <message>
        <source>A secure connection to the server could not be made.</source>
        <translation>Eine sichere Verbindung zum Server kam nicht zustande.</translation>
    </message>
    <message>
        <source>The Internet connection appears to be offline.</source>
        <translation>Die Internetverbindung scheint getrennt zu sein.</translation>
    </message>
    <message>
        <source>The server&apos;s compressed answer could not be unpacked: it is damaged or would unpack to far more than it should.</source>
        <translation>Die komprimierte Antwort des Servers ließ sich nicht entpacken: Sie ist beschädigt oder würde zu weit mehr entpackt, als sie sollte.</translation>
    </message>
    <message>
        <source>The server answered with status %1.</source>
        <translation>Der Server antwortete mit Status %1.</translation>
    </message>
    <message>
        <source>The server answered with status %1 (%2).</source>
        <translation>Der Server antwortete mit Status %1 (%2).</translation>
    </message>
</context>
<context>
    <name>VossaApps::VossaAppsMenu</name>
    <message>
        <source>Visit Quillforge Website</source>
        <translation>Website von Quillforge besuchen</translation>
    </message>
</context>
<context>
    <name>VossaApps::VossaAppsTab</name>
    <message>
        <source>More from Quillforge</source>
        <translation>Mehr von Quillforge</translation>
    </message>
    <message>
        <source>Every app runs on your computer.</source>
        <translation>Jede App läuft auf Ihrem Computer.</translation>
    </message>
    <message>
        <source>See them all</source>
        <translation>Alle ansehen</translation>
    </message>
</context>
<context>
    <name>VossaApps::VossaAppsView</name>
    <message>
        <source>Couldn&apos;t load the app list</source>
        <translation>Die App-Liste konnte nicht geladen werden</translation>
    </message>
    <message>
        <source>See them at %1</source>
        <translation>Alle auf %1 ansehen</translation>
    </message>
</context>
</TS>
