#include "platform/PopupRecorder.h"

#include <utility>

PopupRecorder& PopupRecorder::Instance()
{
    static PopupRecorder recorder;
    return recorder;
}

void PopupRecorder::SetRecording(bool recording)
{
    *this = PopupRecorder();
    m_recording = recording;
}

QList<PopupRecorder::Popup> PopupRecorder::Take()
{
    return std::exchange(m_popups, {});
}

QStringList PopupRecorder::Captions(const QList<Popup>& popups)
{
    QStringList captions;
    for (const Popup& popup : popups)
        captions.append(popup.caption);
    return captions;
}

QStringList PopupRecorder::Texts(const QList<Popup>& popups)
{
    QStringList texts;
    for (const Popup& popup : popups)
        texts.append(popup.text);
    return texts;
}

void PopupRecorder::ClearAnswers()
{
    m_answers.clear();
    m_folders.clear();
}

bool PopupRecorder::Record(Popup popup)
{
    if (!m_recording)
        return false;
    m_popups.append(std::move(popup));
    // A copy: the callback may replace itself.
    if (const std::function<void()> whenShown = m_whenShown)
        whenShown();
    return true;
}

std::optional<bool> PopupRecorder::TakeAnswer()
{
    if (!m_recording || m_answers.isEmpty())
        return std::nullopt;
    return m_answers.takeFirst();
}

std::optional<QString> PopupRecorder::TakeFolder()
{
    if (!m_recording || m_folders.isEmpty())
        return std::nullopt;
    return m_folders.takeFirst();
}
