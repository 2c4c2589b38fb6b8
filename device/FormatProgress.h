#pragma once

#include <QtGlobal>

// What the format worker may do with the progress window it runs behind. Every call comes from
// the worker thread; an implementation carries them over to the window's own thread and keeps
// any that arrive before the window is on screen.
class FormatProgress
{
public:
    virtual ~FormatProgress() = default;

    // Values above 100 become 100.
    virtual void SetPos(int pos) = 0;
    // The value last set, not read back from the bar.
    virtual int GetPos() const = 0;
    // Ends the window's modal run; the only thing that does.
    virtual void RequestClose() = 0;

protected:
    FormatProgress() = default;
    Q_DISABLE_COPY_MOVE(FormatProgress)
};
