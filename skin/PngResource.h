#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <functional>

// One decoded skin image, looked up by its numeric id among the program's embedded PNG
// resources (":/PNG/<id>"). The image is kept with straight (not premultiplied) alpha so
// that the colour of fully transparent border pixels survives: the stretch markers of a
// nine-patch image are recognised by colour alone.
class PngResource final
{
    Q_DISABLE_COPY_MOVE(PngResource)

public:
    // Returns the raw PNG bytes of an id, or empty bytes when there is no such image.
    using Source = std::function<QByteArray(int id)>;

    PngResource() = default;
    ~PngResource() = default;

    // Drops what was loaded, then finds and decodes image `id`. A missing, empty or
    // undecodable image fails and leaves the object owning nothing.
    bool LoadPng(int id);
    void Clear();

    bool IsLoaded() const { return !m_image.isNull(); }
    // Format_ARGB32 (straight alpha); null when nothing is loaded.
    const QImage& Image() const { return m_image; }

    static QString ResourcePath(int id);

    // Starts decoding these embedded images on a worker thread, so that the decoding overlaps
    // the rest of start-up; the first LoadPng of an embedded image waits for them.
    static void Preload(const QList<int>& ids);
    // Waits for a preload that nothing has asked for yet.
    static void FinishPreload();

    // Replaces where the bytes come from (tests supply their own images); an empty
    // function restores the embedded resources.
    static void SetSource(Source source);

private:
    QImage m_image;
};
