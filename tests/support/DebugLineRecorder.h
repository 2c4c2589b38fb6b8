#pragma once

#include "platform/DebugOutput.h"

#include <QLoggingCategory>
#include <QStringList>

// Collects the lines of the program's debug output stream while it is alive, so tests can
// compare the exact sequence the code emitted.
class DebugLineRecorder final
{
public:
    DebugLineRecorder() : m_wasEnabled(lcDebugOutput().isDebugEnabled())
    {
        Collected().clear();
        const_cast<QLoggingCategory&>(lcDebugOutput()).setEnabled(QtDebugMsg, true);
        m_previous = qInstallMessageHandler(&DebugLineRecorder::Handle);
    }
    ~DebugLineRecorder()
    {
        qInstallMessageHandler(m_previous);
        const_cast<QLoggingCategory&>(lcDebugOutput()).setEnabled(QtDebugMsg, m_wasEnabled);
    }
    Q_DISABLE_COPY_MOVE(DebugLineRecorder)

    QStringList Lines() const { return Collected(); }
    void Clear() { Collected().clear(); }

private:
    // The message handler is a plain function: the lines live where it can reach them.
    static QStringList& Collected()
    {
        static QStringList lines;
        return lines;
    }
    static void Handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        if (type == QtDebugMsg && context.category && qstrcmp(context.category, "dashcam.debugstream") == 0)
            Collected().append(message);
    }

    bool m_wasEnabled;
    QtMessageHandler m_previous = nullptr;
};
