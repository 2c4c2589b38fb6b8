#pragma once

#include "skin/SkinRect.h"

#include <QImage>
#include <QList>

class OffscreenSurface;

// Draws skin images into off-screen surfaces, either at their natural size or stretched to
// the surface's size by the one-pixel marker border of a nine-patch image: black pixels in
// the top row mark the columns that stretch, in the left column the rows that stretch; black
// runs in the right column and the bottom row mark the content (text) area.
//
// One instance serves a batch of drawing calls (the set-up of one control): get it with
// Instance(), draw, then ReleaseInstance(). Do not keep the pointer across calls that may
// release it. User-interface thread only.
class NinePatchRenderer final
{
    Q_DISABLE_COPY_MOVE(NinePatchRenderer)

public:
    static NinePatchRenderer* Instance();
    static void ReleaseInstance();

    // Draws image `id` at (0, 0) with its own size, composed over the surface's content;
    // surface pixels beyond the image keep their content. False, drawing nothing, when the
    // surface is not created or the image cannot be loaded.
    bool DrawImageNatural(OffscreenSurface& surface, int id);

    // Replaces the surface's content with image `id` stretched to the surface's size and,
    // when `contentRect` is given, stores there the content rectangle in image coordinates
    // (see ContentRect). False, drawing nothing and leaving `contentRect` alone, when the
    // surface is not created or the image cannot be loaded or is too small to carry a border.
    bool DrawNinePatch(OffscreenSurface& surface, int id, SkinRect* contentRect = nullptr);

    // The content rectangle of `image` (straight alpha) from its right column and bottom row,
    // widened by what the last DrawNinePatch gave the stretched columns and rows inside it.
    SkinRect ContentRect(const QImage& image) const;

    // What the last DrawNinePatch found and did. Marker positions are image positions - 1,
    // i.e. positions in the image without its top row and left column; amounts are the widths
    // (heights) given to the stretched columns (rows), in marker order.
    const QList<int>& HorizontalMarkers() const { return m_horizontalMarkers; }
    const QList<int>& VerticalMarkers() const { return m_verticalMarkers; }
    const QList<int>& HorizontalAmounts() const { return m_horizontalAmounts; }
    const QList<int>& VerticalAmounts() const { return m_verticalAmounts; }

private:
    NinePatchRenderer() = default;
    ~NinePatchRenderer() = default;

    QList<int> m_horizontalAmounts;
    QList<int> m_verticalAmounts;
    QList<int> m_horizontalMarkers;
    QList<int> m_verticalMarkers;
};
