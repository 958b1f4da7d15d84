// A build step of the manual page: prints the image formats oskivo-cli offers
// on this system, "JPG, PNG or TIFF", as the page lists them. The package
// depends on the image plug-ins, so a machine it is installed on offers the
// same.

#include "joboption.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Qt finds its image plug-ins through the application.
    QCoreApplication app(argc, argv);
    QStringList names = JobOption::row(JobOption::Id::Format).choiceNames();
    if (names.isEmpty())
        return 1;
    const QString last = names.takeLast();
    const QString list
        = names.isEmpty() ? last : names.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
    std::fputs(list.toUtf8().constData(), stdout);
    return 0;
}
