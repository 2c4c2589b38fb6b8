#pragma once

#include <QFont>
#include <QHash>
#include <QPair>
#include <QSize>
#include <QString>
#include <QStringList>

// The skin's typeface. Skin font sizes are given as cell heights in pixels (ascent +
// descent); Create() picks the largest pixel size whose cell height does not exceed the one
// asked for, so text lines take the height the layout reserved for them.
class SkinFont final
{
public:
    SkinFont() = delete;

    static QFont Create(int cellHeight, bool bold);

    // The size of `text` as a block of lines: line breaks (LF, CR LF or CR) start new lines,
    // the width is that of the widest line and every line is one cell high.
    static QSize TextExtent(const QFont& font, const QString& text);
    static QStringList Lines(const QString& text);

    // Makes "Tahoma" available when the system has no such family, from the Tahoma files
    // shipped with Wine. Call once at start-up, before any skin font is created. Returns
    // whether the family is available afterwards.
    static bool EnsureRegistered();

    // Tahoma has no Han characters, and their shapes differ between Japan, Korea, mainland China
    // and Taiwan: the skin fonts draw them with the CJK face of the interface language's region
    // (language index as the language pack counts). Call before the window's fonts are created.
    static void SetInterfaceLanguage(int languageIndex);
    // The CJK face for a language index; empty for languages that need none.
    static QString CjkFamily(int languageIndex);

private:
    static QFont Fit(int cellHeight, bool bold);
    static QHash<QPair<int, bool>, QFont>& Fitted();
    static QString& Fallback();
};
