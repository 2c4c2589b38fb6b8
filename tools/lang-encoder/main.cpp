// Turns a language document kept as readable UTF-8 into the form the program carries:
// UTF-16 little endian behind an FF FE mark.

#include <QFile>
#include <QString>
#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: lang-encoder <input.ini (UTF-8)> <output (UTF-16 LE)>\n");
        return 2;
    }
    QFile input(QString::fromLocal8Bit(argv[1]));
    if (!input.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "lang-encoder: cannot read %s\n", argv[1]);
        return 1;
    }
    QByteArray utf8 = input.readAll();
    if (utf8.startsWith("\xEF\xBB\xBF"))
        utf8.remove(0, 3);
    const QString text = QString::fromUtf8(utf8);
    if (text.contains(QChar::ReplacementCharacter)) {
        std::fprintf(stderr, "lang-encoder: %s is not valid UTF-8\n", argv[1]);
        return 1;
    }
    QByteArray out("\xFF\xFE", 2);
    out.reserve(2 + 2 * text.size());
    for (const QChar c : text) {
        out.append(char(c.unicode() & 0xFF));
        out.append(char(c.unicode() >> 8));
    }
    QFile output(QString::fromLocal8Bit(argv[2]));
    if (!output.open(QIODevice::WriteOnly | QIODevice::Truncate) || output.write(out) != out.size()) {
        std::fprintf(stderr, "lang-encoder: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
