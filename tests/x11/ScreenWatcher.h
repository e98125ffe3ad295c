#pragma once
// Pictures of part of the screen taken again and again on a connection of
// their own, from a thread, while the program works: what a person would see
// then. (Grabbing through the program's own connection would first send its
// pending drawing to the display and so show more than the person sees.)
#include <QImage>
#include <QRect>

#include <atomic>
#include <thread>
#include <vector>

class ScreenWatcher {
public:
    // Starts grabbing the area (screen coordinates) until stop().
    explicit ScreenWatcher(const QRect& area);
    ~ScreenWatcher();
    ScreenWatcher(const ScreenWatcher&) = delete;
    ScreenWatcher& operator=(const ScreenWatcher&) = delete;

    // Stops and returns the pictures in the order taken, the first one
    // taken before the constructor returned.
    std::vector<QImage> stop();
    // How many pictures have been taken so far.
    size_t count() const { return m_count.load(); }

private:
    void run();

    QRect m_area;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_started{false};
    std::atomic<size_t> m_count{0};
    std::vector<QImage> m_shots;
    std::thread m_thread;
};
