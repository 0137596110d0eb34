#include "FontConfigWarmUp.h"

#include <cstdlib>
#include <system_error>

#ifdef GLYPHOX_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>

namespace {

// Qt takes a launcher's start-up token out of the environment while it connects to the
// display. Fontconfig reads the environment as it goes, and a variable moved under a
// reader can be missed, so with a token the configuration is read the usual way.
bool QtChangesEnvironment()
{
    return std::getenv("DESKTOP_STARTUP_ID") || std::getenv("XDG_ACTIVATION_TOKEN");
}

} // namespace
#endif

CFontConfigWarmUp::CFontConfigWarmUp()
{
#ifdef GLYPHOX_HAVE_FONTCONFIG
    if (QtChangesEnvironment())
        return;
    try {
        // Fontconfig makes its configuration once, for whichever thread asks first.
        m_thread = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
    }
#endif
}

CFontConfigWarmUp::~CFontConfigWarmUp()
{
    Wait();
}

void CFontConfigWarmUp::Wait()
{
    if (m_thread.joinable())
        m_thread.join();
}
