#pragma once

#include <QImage>
#include <QList>
#include <QString>

struct SkinFile
{
    QString fileName;
    QImage image;
};

// Every file the generator writes: "<id>.png" for the skin images 143-179 and 501, and the
// program icon "dashcam-settings.png".
namespace SkinCatalogue {

QList<SkinFile> AllFiles();

// Writes all files into `folder` (created when missing). The PNG files carry no time stamp or
// text, and their resolution is fixed, so a rerun reproduces them byte for byte. On failure
// `error` names what could not be written.
bool WriteAll(const QString& folder, QString* error);

} // namespace SkinCatalogue
