#include "device/CardFormatWorker.h"

#include <utility>

using namespace Qt::StringLiterals;

CardFormatWorker::CardFormatWorker(std::shared_ptr<const VolumeFormatter> formatter, FormatRequest request,
                                   FormatProgress& progress, std::chrono::milliseconds finalPause)
    : m_formatter(std::move(formatter)), m_request(std::move(request)), m_progress(progress),
      m_finalPause(finalPause)
{}

CardFormatWorker::~CardFormatWorker()
{
    Wait();
}

void CardFormatWorker::Start()
{
    if (!m_thread.joinable())
        m_thread = std::thread(&CardFormatWorker::Run, this);
}

void CardFormatWorker::Wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

void CardFormatWorker::Run()
{
    m_succeeded.store(false);
    if (!m_formatter) {
        m_outcome.kind = FormatOutcome::Kind::NotAvailable;
        m_outcome.reason = u"no volume formatter"_s;
    } else {
        try {
            m_outcome = m_formatter->Format(m_request, *this);
        } catch (...) {
            // A backend that throws has not formatted the card as asked.
            m_outcome = FormatOutcome();
            m_outcome.kind = FormatOutcome::Kind::Ran;
            m_outcome.cardRootAfter = m_request.cardRoot;
            m_succeeded.store(false);
        }
    }
    // Only a formatter that ran can have succeeded.
    if (m_outcome.kind != FormatOutcome::Kind::Ran)
        m_succeeded.store(false);
    m_progress.SetPos(m_succeeded.load() ? 100 : 0);
    std::this_thread::sleep_for(m_finalPause);
    m_progress.RequestClose();
}

void CardFormatWorker::StructureProgress()
{
    m_progress.SetPos(m_progress.GetPos() + StepPerStructure);
}

void CardFormatWorker::Done(bool success)
{
    m_succeeded.store(success);
}
