// Looks up the application's resource bundle and prints where it is; the
// lookup stops the program when there is none.
#include "MetaloomFeature/Platform/ResourceBundle.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::printf("%s\n", qPrintable(Metaloom::ResourceBundle::application().directory()));
    return 0;
}
