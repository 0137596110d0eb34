#pragma once

#include <thread>

// The first text a window measures makes fontconfig read its configuration: dozens of
// XML files, several milliseconds on the GUI thread. Made before the application, this
// reads it on a second thread while the application connects to the display; Wait()
// before the first text. Without fontconfig or a thread it does nothing, and the GUI
// thread reads the configuration when first needed, as it would anyway.
class CFontConfigWarmUp
{
public:
    CFontConfigWarmUp();
    ~CFontConfigWarmUp();
    CFontConfigWarmUp(const CFontConfigWarmUp&) = delete;
    CFontConfigWarmUp& operator=(const CFontConfigWarmUp&) = delete;

    void Wait();

private:
    std::thread m_thread;
};
