#include "tools/skin-generator/SkinCatalogue.h"

#include "tools/skin-generator/SkinImages.h"
#include "tools/skin-generator/SkinPalette.h"

#include <QDir>
#include <QImageWriter>
#include <utility>

using namespace Qt::StringLiterals;

namespace SkinCatalogue {

namespace {

using SkinImages::ControlState;
using SkinImages::DotPattern;
using SkinImages::RoundedCorners;
using SkinImages::TabPosition;

// 96 dpi. A fresh QImage takes the screen's resolution, which would leak into the pHYs chunk.
constexpr int DotsPerMeter = 3780;

SkinFile Skin(int id, QImage image)
{
    return {QString::number(id) + u".png"_s, std::move(image)};
}

} // namespace

QList<SkinFile> AllFiles()
{
    namespace Palette = SkinPalette;
    using namespace SkinImages;

    const ControlState tabStates[] = {ControlState::Normal, ControlState::Hover, ControlState::Pressed,
                                      ControlState::Selected};
    const ControlState buttonStates[] = {ControlState::Normal, ControlState::Hover, ControlState::Pressed};

    QList<SkinFile> files;
    int id = 143;
    for (TabPosition position : {TabPosition::Left, TabPosition::Middle, TabPosition::Right}) {
        for (ControlState state : tabStates)
            files.append(Skin(id++, Tab(position, state)));
    }
    for (ControlState state : buttonStates)
        files.append(Skin(id++, MinimiseTile(state)));
    for (ControlState state : buttonStates)
        files.append(Skin(id++, CloseTile(state, RoundedCorners::LowerRight)));
    for (ControlState state : buttonStates)
        files.append(Skin(id++, PushButton(state)));
    files.append(Skin(id++, Panel()));
    for (ControlState state : buttonStates)
        files.append(Skin(id++, CloseTile(state, RoundedCorners::BothLower)));
    files.append(Skin(id++, Chart(true)));
    files.append(Skin(id++, Swatch(Palette::SwatchGrey)));
    files.append(Skin(id++, Swatch(Palette::SwatchBlue)));
    files.append(Skin(id++, Chart(false)));
    for (DotPattern pattern : {DotPattern::FadeOutward, DotPattern::Wave, DotPattern::Alternate})
        files.append(Skin(id++, DotStrips(pattern)));
    for (QRgb colour :
         {Palette::BarGreen, Palette::BarYellow, Palette::BarOrange, Palette::BarRed, Palette::BarBlue})
        files.append(Skin(id++, BarSegment(colour)));
    Q_ASSERT(id == 180);
    files.append(Skin(501, WindowBackground()));
    const QImage icon = ProgramIcon();
    files.append({u"dashcam-settings.png"_s, icon});
    // The window icon: small enough to decode in no time at start-up.
    files.append({u"dashcam-settings-64.png"_s, icon.scaled(64, 64, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)});
    return files;
}

bool WriteAll(const QString& folder, QString* error)
{
    const auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    if (!QDir().mkpath(folder))
        return fail(u"cannot create the folder "_s + folder);

    const QDir target(folder);
    for (SkinFile& file : AllFiles()) {
        if (file.image.isNull())
            return fail(u"no image drawn for "_s + file.fileName);
        file.image.setDotsPerMeterX(DotsPerMeter);
        file.image.setDotsPerMeterY(DotsPerMeter);
        const QString path = target.filePath(file.fileName);
        QImageWriter writer(path, "png");
        if (!writer.write(file.image))
            return fail(path + u": "_s + writer.errorString());
    }
    return true;
}

} // namespace SkinCatalogue
