// orx-helpdoc <guide.md> <output.pdf>: turns the Markdown user guide into the help document that the
// panel's Help menu opens. Runs at build time, headless.

#include "help_document.h"

#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
#include <cstdio>

namespace {

int fail(const QString& message)
{
    std::fprintf(stderr, "orx-helpdoc: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    // Build machines have no display: always lay out on the offscreen platform.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: orx-helpdoc <guide.md> <output.pdf>\n");
        return 2;
    }

    QFile guide(args[1]);
    if (!guide.open(QIODevice::ReadOnly | QIODevice::Text))
        return fail(QStringLiteral("cannot read %1: %2").arg(args[1], guide.errorString()));
    const QString markdown = QString::fromUtf8(guide.readAll());

    // Written beside the target and renamed at the end, so a failed run never leaves half a PDF.
    QSaveFile pdf(args[2]);
    if (!pdf.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("cannot write %1: %2").arg(args[2], pdf.errorString()));
    QString error;
    if (!orx::helpdoc::writeHelpDocument(markdown, pdf, error)) {
        pdf.cancelWriting();
        return fail(error);
    }
    if (!pdf.commit())
        return fail(QStringLiteral("cannot write %1: %2").arg(args[2], pdf.errorString()));
    return 0;
}
