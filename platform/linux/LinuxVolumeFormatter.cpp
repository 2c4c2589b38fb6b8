#include "platform/linux/LinuxVolumeFormatter.h"

using namespace Qt::StringLiterals;

// Until the real backend lands nothing on Linux formats a card: say so instead of pretending.
FormatOutcome LinuxVolumeFormatter::Format(const FormatRequest&, FormatReports&) const
{
    FormatOutcome outcome;
    outcome.kind = FormatOutcome::Kind::NotAvailable;
    outcome.reason = u"no volume formatter on this system"_s;
    return outcome;
}
