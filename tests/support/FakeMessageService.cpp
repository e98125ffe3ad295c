#include "support/FakeMessageService.h"

#include <QCoreApplication>

int FakeMessageService::message(const MessageRequest& request)
{
    int answer;
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    } else {
        static const int firstButton[] = {MsgResult::OK,  MsgResult::OK,  MsgResult::Abort,
                                          MsgResult::Yes, MsgResult::Yes, MsgResult::Retry};
        static const int buttons[6][3] = {{MsgResult::OK, MsgResult::OK, MsgResult::OK},
                                          {MsgResult::OK, MsgResult::Cancel, MsgResult::Cancel},
                                          {MsgResult::Abort, MsgResult::Retry, MsgResult::Ignore},
                                          {MsgResult::Yes, MsgResult::No, MsgResult::Cancel},
                                          {MsgResult::Yes, MsgResult::No, MsgResult::No},
                                          {MsgResult::Retry, MsgResult::Cancel, MsgResult::Cancel}};
        const int kind = request.style & 0x7;
        const int def = (request.style & 0x300) >> 8;
        answer = kind < 6 ? buttons[kind][std::min(def, 2)] : firstButton[0];
    }
    Shown s{request.prompt, request.style, request.title, answer, request.uncovered};
    shown << s;
    if (onMessage)
        onMessage(s);
    return answer;
}

int FakeMessageService::execModal(QDialog* dialog)
{
    dialogTitles << dialog->windowTitle();
    if (dialogs.empty())
        return QDialog::Rejected;
    auto script = std::move(dialogs.front());
    dialogs.pop_front();
    return script(dialog);
}

ScopedFakeMessages::ScopedFakeMessages() : m_fake(std::make_shared<FakeMessageService>())
{
    m_previous = MessageService::install(m_fake);
}

ScopedFakeMessages::~ScopedFakeMessages() { MessageService::install(m_previous); }
