#include "tests/support/SyntheticSkin.h"

#include "skin/PngResource.h"

#include <QBuffer>
#include <QFile>
#include <QTest>

SyntheticSkin::SyntheticSkin()
{
    PngResource::SetSource([this](int id) -> QByteArray {
        const auto it = m_images.constFind(id);
        if (it != m_images.constEnd())
            return *it;
        QFile file(PngResource::ResourcePath(id));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    });
}

SyntheticSkin::~SyntheticSkin()
{
    PngResource::SetSource({});
}

void SyntheticSkin::Add(int id, const QImage& image)
{
    m_images.insert(id, EncodePng(image));
}

void SyntheticSkin::AddBytes(int id, const QByteArray& bytes)
{
    m_images.insert(id, bytes);
}

QByteArray SyntheticSkin::EncodePng(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

bool SyntheticSkin::HasEmbedded(int id)
{
    return QFile::exists(PngResource::ResourcePath(id));
}

QImage SyntheticSkin::NinePatch(int w, int h, const QList<int>& stretchColumns, const QList<int>& stretchRows,
                                int contentTop, int contentLast, int contentLeft, int contentLastX)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(kBorder);
    for (int y = 1; y < h - 1; ++y) {
        for (int x = 1; x < w - 1; ++x)
            image.setPixel(x, y, qRgba(x, y, 200, 255));
    }
    for (int x : stretchColumns)
        image.setPixel(x, 0, kMarker);
    for (int y : stretchRows)
        image.setPixel(0, y, kMarker);
    for (int y = contentTop; y <= contentLast; ++y)
        image.setPixel(w - 1, y, kMarker);
    for (int x = contentLeft; x <= contentLastX; ++x)
        image.setPixel(x, h - 1, kMarker);
    return image;
}

QImage SyntheticSkin::TabLike()
{
    return NinePatch(14, 39, {6}, {19}, 2, 36, 6, 6);
}

QImage SyntheticSkin::PushLike()
{
    return NinePatch(15, 31, {7}, {15}, 3, 27, 7, 7);
}

QImage SyntheticSkin::BackgroundLike()
{
    return NinePatch(29, 101, {14}, {42}, 2, 98, 2, 26);
}

QImage SyntheticSkin::BarLike()
{
    return NinePatch(5, 17, {2}, {8}, 1, 15, 2, 2);
}

void SyntheticSkin::FillInner(QImage& image, QRgb colour)
{
    for (int y = 1; y < image.height() - 1; ++y) {
        for (int x = 1; x < image.width() - 1; ++x)
            image.setPixel(x, y, colour);
    }
}

char* toString(const SkinRect& rect)
{
    return QTest::toString(
        QStringLiteral("(%1, %2)-(%3, %4)").arg(rect.left).arg(rect.top).arg(rect.right).arg(rect.bottom));
}
