#pragma once

#include "skin/SkinRect.h"

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QList>
#include <QString>

// Test images for the skin code. While an instance lives, the image loader sees the images
// added to it under their ids and the program's embedded images under all other ids.
class SyntheticSkin final
{
    Q_DISABLE_COPY_MOVE(SyntheticSkin)

public:
    SyntheticSkin();
    ~SyntheticSkin();

    void Add(int id, const QImage& image);
    void AddBytes(int id, const QByteArray& bytes);

    static QByteArray EncodePng(const QImage& image);
    static bool HasEmbedded(int id);

    // Transparent white, the colour of border pixels that mark nothing.
    static constexpr QRgb kBorder = 0x00ffffff;
    static constexpr QRgb kMarker = 0xff000000;

    // A w x h nine-patch image: black stretch markers at the given image columns of the top
    // row and image rows of the left column, content runs in the right column (rows
    // contentTop..contentLast) and the bottom row (columns contentLeft..contentLastX); every
    // other border pixel is transparent white. Inner pixel (x, y) is opaque RGB(x, y, 200),
    // so a drawn pixel tells which image pixel it came from.
    static QImage NinePatch(int w, int h, const QList<int>& stretchColumns, const QList<int>& stretchRows,
                            int contentTop, int contentLast, int contentLeft, int contentLastX);

    // The nine-patch layouts of the shipped images, with the inner coordinate pattern.
    static QImage TabLike();        // 14 x 39, stretch col 6 / row 19, content rows 2-36, col 6
    static QImage PushLike();       // 15 x 31, stretch col 7 / row 15, content rows 3-27, col 7
    static QImage BackgroundLike(); // 29 x 101, stretch col 14 / row 42, content rows 2-98, cols 2-26
    static QImage BarLike();        // 5 x 17, stretch col 2 / row 8, content rows 1-15, col 2

    // Fills the inner pixels (everything but the border) with one colour (straight alpha).
    static void FillInner(QImage& image, QRgb colour);

private:
    QHash<int, QByteArray> m_images;
};

// Lets QCOMPARE print rectangles.
char* toString(const SkinRect& rect);
