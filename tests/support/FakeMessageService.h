#pragma once
// A scripted stand-in for every message box and modal dialog: it records what
// was asked and answers from a queue, so no test ever blocks on a window.
#include "platform/MessageService.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <deque>
#include <functional>
#include <memory>

class FakeMessageService : public MessageService {
public:
    struct Shown {
        QString prompt;
        int style = 0;
        QString title;
        int answer = 0;
        QRect uncovered;
    };

    int message(const MessageRequest& request) override;
    int execModal(QDialog* dialog) override;
    void beep() override { ++beeps; }

    // Answers for the next message boxes, in order. Without a queued answer a
    // box gets its default button (OK, or Yes/Abort/Retry/... by the default-button bits).
    void queueAnswer(int answer) { answers.push_back(answer); }
    // Scripts for the next modal dialogs: each gets the dialog (already set up
    // by its caller) and returns the dialog's result. Without one, a dialog is
    // rejected at once.
    void queueDialog(std::function<int(QDialog*)> script) { dialogs.push_back(std::move(script)); }

    QList<Shown> shown;
    QList<QString> dialogTitles;
    int beeps = 0;
    std::deque<int> answers;
    std::deque<std::function<int(QDialog*)>> dialogs;
    // Called with each message as it is shown (to check state while a box is open).
    std::function<void(const Shown&)> onMessage;

    QString lastPrompt() const { return shown.isEmpty() ? QString() : shown.last().prompt; }
    void clear()
    {
        shown.clear();
        dialogTitles.clear();
        beeps = 0;
        answers.clear();
        dialogs.clear();
    }
};

// Installs a fresh fake for the lifetime of the object (use one per test).
class ScopedFakeMessages {
public:
    ScopedFakeMessages();
    ~ScopedFakeMessages();
    FakeMessageService* operator->() const { return m_fake.get(); }
    FakeMessageService& operator*() const { return *m_fake; }

private:
    std::shared_ptr<FakeMessageService> m_fake;
    std::shared_ptr<MessageService> m_previous;
};
