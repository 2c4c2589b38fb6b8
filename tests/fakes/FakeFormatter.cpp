#include "tests/fakes/FakeFormatter.h"

#include <QDir>

FormatOutcome FakeFormatter::Format(const FormatRequest& request, FormatReports& reports) const
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
