#pragma once
// Every message box and modal dialog of the program goes through this one
// service. The program installs QtMessageService; tests install a scripted
// fake (tests/support/FakeMessageService.h) so nothing ever blocks on a
// modal window.
#include <QRect>
#include <QString>
#include <functional>
#include <memory>

class QWidget;
class QDialog;

// Button, icon and default-button codes and answers as the windows use them
// (the classic message-box style numbers).
namespace MsgStyle {
constexpr int OKOnly = 0, OKCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4, RetryCancel = 5;
constexpr int Critical = 16, Question = 32, Exclamation = 48, Information = 64;
constexpr int DefaultButton2 = 256, DefaultButton3 = 512;
} // namespace MsgStyle
namespace MsgResult {
constexpr int OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7;
}

struct MessageRequest {
    QString prompt;
    int style = 0; // buttons + icon + default button, as MsgStyle
    QString title; // empty = the application's title
    QWidget* parent = nullptr;
    QRect uncovered; // screen area the box keeps clear of (empty: none)
};

class MessageService {
public:
    virtual ~MessageService() = default;
    // Shows a message box and returns the MsgResult of the button pressed.
    virtual int message(const MessageRequest& request) = 0;
    // Runs a modal dialog and returns its result (QDialog::exec's value).
    virtual int execModal(QDialog* dialog) = 0;
    // The platform's short audible signal.
    virtual void beep() = 0;

    static MessageService& instance();
    // Installs a service (the program's or a test's); returns the previous one.
    static std::shared_ptr<MessageService> install(std::shared_ptr<MessageService> service);
};

// Shorthand for the plain message box: prompt, style, title (empty = app
// title), and the screen area it keeps clear of.
int MsgBox(const QString& prompt, int style = 0, const QString& title = QString(), const QRect& uncovered = QRect());

// The real service: Qt message boxes and QDialog::exec.
class QtMessageService : public MessageService {
public:
    int message(const MessageRequest& request) override;
    int execModal(QDialog* dialog) override;
    void beep() override;
};
