#pragma once
// One user command at a time. Message boxes and modal dialogs run an event
// loop, and the message-box helper lets pending events run before and after
// its box; a click that was queued meanwhile would otherwise run its command
// inside the one that is still running, in the middle of its state changes.
// Commands connected through the gate are dropped while another one runs.
#include <utility>

namespace CommandGate {

// True while a gated command runs.
bool busy();

namespace detail {
class Hold {
public:
    Hold();
    ~Hold();
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;
};
} // namespace detail

// Runs f unless another gated command is running; then f is dropped.
template <class F>
void run(F&& f)
{
    if (busy())
        return;
    detail::Hold hold;
    std::forward<F>(f)();
}

// A slot that runs f through the gate (for connect()).
template <class F>
auto gated(F f)
{
    return [f = std::move(f)] { run(f); };
}

} // namespace CommandGate
