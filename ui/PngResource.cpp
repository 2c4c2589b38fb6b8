#include "ui/PngResource.h"

#include <QFile>
#include <QHash>
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

// The embedded images never change while the program runs, and the window asks for several
// of them more than once (every push button uses the same three): decode each only once.
QImage DecodeEmbedded(int id)
{
    static QHash<int, QImage> decoded;
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
