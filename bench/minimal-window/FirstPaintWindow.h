#pragma once

#include <QWidget>

// An empty top-level window that can end the process right after its first paint, so that the
// process's wall time measures start-up up to the first painted window.
class FirstPaintWindow final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FirstPaintWindow)

public:
    explicit FirstPaintWindow(bool quitAfterFirstPaint);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_quitAfterFirstPaint;
    bool m_painted = false;
};
