#include "tests/support/XTestWindow.h"

#include <QByteArray>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

XTestWindow::XTestWindow(const QString& display)
{
    m_connection = xcb_connect(display.toLocal8Bit().constData(), nullptr);
    if (!m_connection || xcb_connection_has_error(m_connection))
        return;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
    if (!screen)
        return;
    m_root = screen->root;
    const xcb_window_t window = xcb_generate_id(m_connection);
    xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, window, m_root, 10, 10, 200, 100, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    m_window = window;
}

XTestWindow::~XTestWindow()
{
    if (!m_connection)
        return;
    // Gone for every other client before the destructor returns, so the next test cannot see it.
    if (m_frame)
        xcb_destroy_window(m_connection, m_frame);
    if (m_window)
        xcb_destroy_window(m_connection, m_window);
    if (IsValid())
        Sync();
    xcb_disconnect(m_connection);
}

quint32 XTestWindow::Atom(const char* name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(m_connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

void XTestWindow::SetNetWmName(const QString& title)
{
    if (!IsValid())
        return;
    const QByteArray utf8 = title.toUtf8();
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_window, Atom("_NET_WM_NAME"),
                        Atom("UTF8_STRING"), 8, static_cast<uint32_t>(utf8.size()), utf8.constData());
}

void XTestWindow::SetWmName(const QString& title)
{
    if (!IsValid())
        return;
    const QByteArray latin1 = title.toLatin1();
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        static_cast<uint32_t>(latin1.size()), latin1.constData());
}

void XTestWindow::PutInFrame()
{
    if (!IsValid() || m_frame)
        return;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
    m_frame = xcb_generate_id(m_connection);
    xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_frame, m_root, 5, 5, 210, 130, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    xcb_reparent_window(m_connection, m_window, m_frame, 5, 25);
}

void XTestWindow::Map()
{
    if (!IsValid())
        return;
    if (m_frame)
        xcb_map_window(m_connection, m_frame);
    xcb_map_window(m_connection, m_window);
}

bool XTestWindow::Sync()
{
    if (!IsValid())
        return false;
    // Any request with a reply is a full round trip.
    xcb_get_input_focus_reply_t* reply =
        xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr);
    const bool answered = reply != nullptr;
    std::free(reply);
    return answered && !xcb_connection_has_error(m_connection);
}
