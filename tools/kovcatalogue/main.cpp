// Lists the texts a compiled catalogue leaves untranslated, to fill them in:
//   lupdate KOVReportExport KOVLibXl platform -ts /tmp/all.ts
//   kovcatalogue /tmp/all.ts build/.../Translate_EN.qm
#include "kovcatalogue.h"

#include <QCoreApplication>
#include <QTextStream>
#include <QTranslator>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 3) {
        err << "usage: kovcatalogue <sources.ts> <catalogue.qm>\n";
        return 2;
    }
    QList<KOVCatalogueMessage> messages;
    QString error;
    if (!KOVCatalogue::readTs(QString::fromLocal8Bit(argv[1]), &messages, &error)) {
        err << error << '\n';
        return 2;
    }
    QTranslator translator;
    if (!translator.load(QString::fromLocal8Bit(argv[2]))) {
        err << "cannot load " << argv[2] << '\n';
        return 2;
    }
    const QStringList missing = KOVCatalogue::untranslated(messages, translator);
    QTextStream out(stdout);
    for (const QString& k : missing)
        out << k << '\n';
    return missing.isEmpty() ? 0 : 1;
}
