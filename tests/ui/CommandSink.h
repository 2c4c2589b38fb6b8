#pragma once

#include <QList>
#include <QWidget>
#include <functional>

// A parent window for controls under test: records the ids of the commands posted to it,
// in arrival order, and optionally reacts to each one as an owner would.
class CommandSink final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CommandSink)

public:
    explicit CommandSink(QWidget* parent = nullptr);
    ~CommandSink() override;

    QList<int> m_commands;
    std::function<void(int id)> m_onCommand;

protected:
    bool event(QEvent* event) override;
};
