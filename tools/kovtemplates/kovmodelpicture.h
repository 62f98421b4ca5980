#ifndef KOVMODELPICTURE_H
#define KOVMODELPICTURE_H

#include <QImage>
#include <QString>

// Small drawings of the three imager models, placed by the writer's model
// picture operations.
class KOVModelPicture
{
public:
    // model 4410, 4420 or 4430; the models differ in body colour and in the
    // size of the microphone array.
    static QImage draw(int model);
};

#endif // KOVMODELPICTURE_H
