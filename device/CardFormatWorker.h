#pragma once

#include "device/FormatProgress.h"
#include "platform/VolumeFormatter.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

// The format's worker thread: calls the volume formatter, moves the progress bar by 20 for each
// structure the formatter reports, shows 100 or 0 at the end for a moment and closes the
// progress window. It closes the window however the formatter ends, so the modal run behind it
// always returns.
class CardFormatWorker final : private FormatReports
{
public:
    static constexpr int StepPerStructure = 20;

    CardFormatWorker(std::shared_ptr<const VolumeFormatter> formatter, FormatRequest request,
                     FormatProgress& progress, std::chrono::milliseconds finalPause);
    ~CardFormatWorker() override;

    void Start();
    // Waits for the thread to end; the results below are valid afterwards.
    void Wait();

    bool Succeeded() const { return m_succeeded.load(); }
    const FormatOutcome& Outcome() const { return m_outcome; }

private:
    Q_DISABLE_COPY_MOVE(CardFormatWorker)

    void Run();
    void StructureProgress() override;
    void Done(bool success) override;

    std::shared_ptr<const VolumeFormatter> m_formatter;
    const FormatRequest m_request;
    FormatProgress& m_progress;
    const std::chrono::milliseconds m_finalPause;
    std::atomic<bool> m_succeeded{false};
    FormatOutcome m_outcome;
    std::thread m_thread;
};
