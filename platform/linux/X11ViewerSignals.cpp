#include "platform/linux/X11ViewerSignals.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <semaphore.h>
#include <utility>
#include <xcb/xcb.h>

namespace {

struct ConnectionCloser
{
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};

class SemaphoreEvent final : public NamedEvent
{
public:
    explicit SemaphoreEvent(sem_t* semaphore) : m_semaphore(semaphore) {}
    ~SemaphoreEvent() override { sem_close(m_semaphore); }

    bool TryWait() override
    {
        int result = 0;
        do {
            result = sem_trywait(m_semaphore);
        } while (result != 0 && errno == EINTR);
        return result == 0;
    }

private:
    sem_t* m_semaphore;
};

} // namespace

X11ViewerSignals::X11ViewerSignals(QString displayName, QString eventPrefix)
    : m_displayName(std::move(displayName)), m_eventPrefix(std::move(eventPrefix))
{}

bool X11ViewerSignals::PostWindowMessage(quint64 window, quint32 message, quint64 wParam, qint64 lParam) const
{
    const QString display = m_displayName ? *m_displayName : qEnvironmentVariable("DISPLAY");
    if (display.isEmpty() || window == 0 || window > 0xFFFFFFFFu)
        return false;
    std::unique_ptr<xcb_connection_t, ConnectionCloser> connection(
        xcb_connect(display.toLocal8Bit().constData(), nullptr));
    xcb_connection_t* c = connection.get();
    if (!c || xcb_connection_has_error(c))
        return false;

    const auto nameLength = static_cast<uint16_t>(std::strlen(MessageAtomName));
    xcb_generic_error_t* error = nullptr;
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, nameLength, MessageAtomName), &error), &std::free);
    std::free(error);
    if (!atom)
        return false;

    xcb_client_message_event_t event;
    std::memset(&event, 0, sizeof event);
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = static_cast<xcb_window_t>(window);
    event.type = atom->atom;
    event.data.data32[0] = message;
    event.data.data32[1] = static_cast<uint32_t>(wParam);
    event.data.data32[2] = static_cast<uint32_t>(lParam);
    // No event mask: the server gives the event to the client that created the window.
    const xcb_void_cookie_t cookie = xcb_send_event_checked(c, 0, event.window, XCB_EVENT_MASK_NO_EVENT,
                                                            reinterpret_cast<const char*>(&event));
    error = xcb_request_check(c, cookie);
    const bool sent = error == nullptr;
    std::free(error);
    return sent;
}

QByteArray X11ViewerSignals::SemaphoreName(const QString& name) const
{
    return "/" + (m_eventPrefix + name).toUtf8();
}

std::unique_ptr<NamedEvent> X11ViewerSignals::OpenEvent(const QString& name) const
{
    // A slash inside would make the name invalid for sem_open.
    if (name.isEmpty() || name.contains(u'/') || m_eventPrefix.contains(u'/'))
        return nullptr;
    sem_t* semaphore = sem_open(SemaphoreName(name).constData(), O_RDWR);
    if (semaphore == SEM_FAILED)
        return nullptr;
    return std::make_unique<SemaphoreEvent>(semaphore);
}
