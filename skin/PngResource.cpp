#include "skin/PngResource.h"

#include <QFile>
#include <QHash>
#include <future>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

QByteArray ReadEmbedded(int id)
{
    QFile file(PngResource::ResourcePath(id));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

PngResource::Source& CurrentSource()
{
    static PngResource::Source source;
    return source;
}

QImage Decode(const QByteArray& bytes)
{
    QImage decoded;
    if (bytes.isEmpty() || !decoded.loadFromData(bytes, "PNG"))
        return QImage();
    // Converting keeps the colour channels of transparent pixels; premultiplying would not.
    return decoded.convertToFormat(QImage::Format_ARGB32);
}

using DecodedImages = QHash<int, QImage>;

// Images being decoded on a worker thread (PngResource::Preload); the first lookup takes them.
std::future<DecodedImages>& Pending()
{
    static std::future<DecodedImages> pending;
    return pending;
}

// The embedded images never change while the program runs, and the window asks for several
// of them more than once (every push button uses the same three): decode each only once.
QImage DecodeEmbedded(int id)
{
    static DecodedImages decoded;
    if (Pending().valid())
        decoded.insert(Pending().get());
    const auto found = decoded.constFind(id);
    if (found != decoded.cend())
        return *found;
    QImage image = Decode(ReadEmbedded(id));
    decoded.insert(id, image);
    return image;
}

} // namespace

QString PngResource::ResourcePath(int id)
{
    return u":/PNG/"_s + QString::number(id);
}

void PngResource::Preload(const QList<int>& ids)
{
    if (Pending().valid())
        return;
    Pending() = std::async(std::launch::async, [ids] {
        DecodedImages images;
        for (int id : ids)
            images.insert(id, Decode(ReadEmbedded(id)));
        return images;
    });
}

void PngResource::FinishPreload()
{
    if (Pending().valid())
        Pending().wait();
}

void PngResource::SetSource(Source source)
{
    CurrentSource() = std::move(source);
}

bool PngResource::LoadPng(int id)
{
    Clear();

    const Source& source = CurrentSource();
    QImage decoded = source ? Decode(source(id)) : DecodeEmbedded(id);
    if (decoded.isNull())
        return false;
    m_image = std::move(decoded);
    return true;
}

void PngResource::Clear()
{
    m_image = QImage();
}
