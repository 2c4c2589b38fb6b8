#pragma once

#include <QString>

// The maker's PC viewer's language name, read from the registry once at start-up; empty when
// missing or unreadable. One per process.
class ViewerLanguage final
{
public:
    static ViewerLanguage& Instance();

    const QString& Name() const { return m_name; }
    void SetName(const QString& name) { m_name = name; }

private:
    QString m_name;
};
