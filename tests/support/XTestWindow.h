#pragma once

#include <QString>
#include <QtGlobal>

struct xcb_connection_t;

// A real top-level window on an X server, made the way other programs make theirs: created
// unmapped and without a title, then given the title properties and the placement a test asks
// for. It lives as long as the object (its own connection to the server closes with it).
class XTestWindow final
{
public:
    explicit XTestWindow(const QString& display);
    ~XTestWindow();

    bool IsValid() const { return m_window != 0; }
    quint32 Id() const { return m_window; }

    // _NET_WM_NAME as UTF8_STRING, what current toolkits set.
    void SetNetWmName(const QString& title);
    // WM_NAME as STRING (Latin-1), what older programs set.
    void SetWmName(const QString& title);
    void SetTitle(const QString& title)
    {
        SetNetWmName(title);
        SetWmName(title);
    }
    // Moves the window into a frame window of its own, as a re-parenting window manager does.
    void PutInFrame();
    void Map();
    // Returns once the server has carried out every request made so far, so that other clients
    // see the window as it is now.
    bool Sync();

private:
    Q_DISABLE_COPY_MOVE(XTestWindow)

    quint32 Atom(const char* name);

    xcb_connection_t* m_connection = nullptr;
    quint32 m_root = 0;
    quint32 m_window = 0;
    quint32 m_frame = 0;
};
