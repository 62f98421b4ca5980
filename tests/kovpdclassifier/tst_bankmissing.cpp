// A missing feature bank leaves every period unclassified: that is said in the
// log, once, not once per page or per period.
#include "kov_pdclassifier.h"
#include "kovwarnings.h"

#include <QtTest>

#include <vector>

class TstBankMissing : public QObject
{
    Q_OBJECT
private slots:
    void missingBankSaidOnce()
    {
        const QByteArray path = QFile::encodeName(QDir::current().filePath(QStringLiteral("no/such/bank.txt")));
        std::vector<float> bins(240, 1.0f);
        bins[60] = 5000.0f;
        QStringList warnings;
        {
            KOVWarningCatcher catcher;
            for (int page = 0; page < 3; ++page) {
                KOV_PDClassifier c(path.constData());
                int type = -1;
                c.GetPDInfo(bins.data(), int(bins.size()), type);
                QCOMPARE(type, 0);
            }
            warnings = catcher.warnings();
        }
        QCOMPARE(warnings.size(), 1);
        QVERIFY2(warnings.first().contains(QString::fromLocal8Bit(path)), qPrintable(warnings.first()));
    }
};

QTEST_GUILESS_MAIN(TstBankMissing)
#include "tst_bankmissing.moc"
