#ifndef KOVOCRTEXT_H
#define KOVOCRTEXT_H

#include <QString>

// Turns the engine's raw reading of the burnt-in maximum sound pressure into
// the text of the page's field. The imager draws the value without its
// decimal point ("905dB" means 90.5 dB) and "N/AdB" when it has none.
class KOVOcrText
{
public:
    static QString postProcess(const QString& raw);

private:
    // QString::insert counts a negative position from the end; here a
    // position before the start means "no room" and changes nothing.
    static void insertAt(QString& text, int pos, const QString& what);
};

#endif // KOVOCRTEXT_H
