#pragma once

#include "device/FormatProgress.h"
#include "platform/DriveInfo.h"
#include "platform/ViewerSignals.h"
#include "platform/VolumeFormatter.h"
#include "platform/WindowFinder.h"

#include <QDir>
#include <QList>
#include <QMutex>
#include <QStringList>
#include <optional>

// A formatter that does what a script says: wipes the card folder (or moves it elsewhere, as a
// formatter that mounts the new file system under another name would), gives a number of
// structure reports and ends with the given Done report, or none.
class FakeFormatter final : public VolumeFormatter
{
public:
    struct Script
    {
        FormatOutcome::Kind kind = FormatOutcome::Kind::Ran;
        int structures = 3;
        std::optional<bool> done = true;
        bool wipe = true;
        QString mountAfter;     // where the card folder is afterwards; empty = where it was
        bool mountAgain = true; // false: the new file system could not be mounted
    };

    explicit FakeFormatter(Script script) : m_script(std::move(script)) {}

    FormatOutcome Format(const FormatRequest& request, FormatReports& reports) const override
    {
        {
            QMutexLocker lock(&m_mutex);
            m_requests.append(request);
        }
        FormatOutcome outcome;
        outcome.kind = m_script.kind;
        if (m_script.kind != FormatOutcome::Kind::Ran) {
            outcome.reason = QStringLiteral("fake formatter");
            return outcome;
        }
        if (m_script.wipe) {
            QDir(request.cardRoot).removeRecursively();
            if (m_script.mountAgain)
                QDir().mkpath(m_script.mountAfter.isEmpty() ? request.cardRoot : m_script.mountAfter);
        }
        for (int i = 0; i < m_script.structures; ++i)
            reports.StructureProgress();
        if (m_script.done)
            reports.Done(*m_script.done);
        outcome.cardRootAfter = m_script.mountAfter.isEmpty() ? request.cardRoot : m_script.mountAfter;
        return outcome;
    }

    QList<FormatRequest> Requests() const
    {
        QMutexLocker lock(&m_mutex);
        return m_requests;
    }

private:
    Script m_script;
    mutable QMutex m_mutex;
    mutable QList<FormatRequest> m_requests;
};

// Folders under the given mount points are on the file system of the deepest one.
class FakeDrives final : public DriveInfo
{
public:
    FakeDrives(bool removable, QStringList mountPoints)
        : m_removable(removable), m_mountPoints(std::move(mountPoints))
    {}
    // A folder outside every mount point lies on the PC's own disk.
    bool IsRemovableDrive(const QString& path) const override
    {
        return m_removable && !FilesystemRoot(path).isEmpty();
    }
    QString FilesystemRoot(const QString& path) const override
    {
        QString best;
        for (const QString& mount : m_mountPoints) {
            if (QString(path + u'/').startsWith(mount) && mount.size() > best.size())
                best = mount;
        }
        return best;
    }

private:
    bool m_removable;
    QStringList m_mountPoints;
};

// Remembers the progress window's calls.
class RecordingProgress final : public FormatProgress
{
public:
    void SetPos(int pos) override
    {
        QMutexLocker lock(&m_mutex);
        m_pos = qMin(pos, 100);
        m_history.append(m_pos);
    }
    int GetPos() const override
    {
        QMutexLocker lock(&m_mutex);
        return m_pos;
    }
    void RequestClose() override
    {
        QMutexLocker lock(&m_mutex);
        ++m_closeRequests;
    }
    QList<int> History() const
    {
        QMutexLocker lock(&m_mutex);
        return m_history;
    }
    int CloseRequests() const
    {
        QMutexLocker lock(&m_mutex);
        return m_closeRequests;
    }

private:
    mutable QMutex m_mutex;
    int m_pos = 0;
    QList<int> m_history;
    int m_closeRequests = 0;
};

// Windows by title, as a WindowFinder sees them; the id of a title is its place in the list + 1.
class TitleWindows final : public WindowFinder
{
public:
    explicit TitleWindows(QStringList titles = {}) : m_titles(std::move(titles)) {}
    std::optional<quint64> FindTopLevelWindow(const QString& title) const override
    {
        const qsizetype index = m_titles.indexOf(title);
        return index < 0 ? std::nullopt : std::optional<quint64>(quint64(index + 1));
    }

private:
    QStringList m_titles;
};

// Records posted messages; its event, when it has one, is signalled after a number of polls.
class RecordingViewerSignals final : public ViewerSignals
{
public:
    struct Post
    {
        quint64 window;
        quint32 message;
        bool operator==(const Post&) const = default;
    };

    explicit RecordingViewerSignals(std::optional<int> answerAfterPolls = std::nullopt)
        : m_answerAfterPolls(answerAfterPolls)
    {}

    bool PostWindowMessage(quint64 window, quint32 message, quint64, qint64) const override
    {
        m_posts.append({window, message});
        return true;
    }
    std::unique_ptr<NamedEvent> OpenEvent(const QString& name) const override
    {
        m_openedEvents.append(name);
        if (!m_answerAfterPolls)
            return nullptr;
        return std::make_unique<CountdownEvent>(*m_answerAfterPolls);
    }

    mutable QList<Post> m_posts;
    mutable QStringList m_openedEvents;

private:
    class CountdownEvent final : public NamedEvent
    {
    public:
        explicit CountdownEvent(int polls) : m_polls(polls) {}
        bool TryWait() override { return m_polls-- <= 0; }

    private:
        int m_polls;
    };

    std::optional<int> m_answerAfterPolls;
};
