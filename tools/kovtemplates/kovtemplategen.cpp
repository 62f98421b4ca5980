// Builds the four report templates and the model pictures into a cfg folder:
//   kovtemplategen <source folder> <cfg folder>
#include "kovmodelpicture.h"
#include "kovtemplatebook.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: kovtemplategen <source folder> <cfg folder>\n");
        return 2;
    }
    const QString src = args[1];
    const QString cfg = args[2];
    if (!QDir().mkpath(cfg + QStringLiteral("/KOV44XX_Img"))) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(cfg));
        return 1;
    }
    for (const char* type : {"gas", "elec"}) {
        for (const char* lang : {"ch", "en"}) {
            const QString target = cfg + QStringLiteral("/template_%1_%2").arg(QLatin1String(type), QLatin1String(lang));
            QString error;
            if (!KOVTemplateBook::build(src, QLatin1String(type), QLatin1String(lang), target, &error)) {
                std::fprintf(stderr, "kovtemplategen: %s\n", qPrintable(error));
                return 1;
            }
        }
    }
    for (int model : {4410, 4420, 4430}) {
        const QString path = cfg + QStringLiteral("/KOV44XX_Img/KOV%1.png").arg(model);
        if (!KOVModelPicture::draw(model).save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
