#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <optional>

// One parsed INI-style language document: sections of keys and values, both matched without
// regard to ASCII letter case. Texts are looked up in the default section, the first one named
// "text".
class LanguageDocument final
{
public:
    // Decodes (UTF-16 LE after an FF FE mark, else the ANSI code page) and parses `bytes`;
    // nothing when the document is shorter than two bytes.
    static std::optional<LanguageDocument> Parse(QByteArrayView bytes);

    // The value of `key` in the default section; a null string when there is no such key.
    QString Value(QStringView key) const;
    bool HasDefaultSection() const { return m_defaultSection.has_value(); }

private:
    using Section = QHash<QString, QString>;
    void ParseText(const QString& text);
    void ParseLine(const QString& line);
    void ParseKeyLine(const QString& line);

    QHash<QString, Section> m_sections;
    std::optional<QString> m_defaultSection;
    std::optional<QString> m_currentSection;
};
