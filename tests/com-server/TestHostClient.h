#pragma once

// The test host as tests and benchmarks reach it: through its control object, in its own process,
// started once per program by COM activation and ended when the program ends.

#include <string>
#include <string_view>
#include <vector>

#include "TestHostIds.h"
#include "host/com/ComTypes.h"

namespace testhost {

class TestHostClient {
public:
    // The host of this program; started on first use. The thread must be in an apartment.
    static TestHostClient& get();
    // Whether the host plays a current InDesign (QUARVEL_TEST_HOST_PROFILE=current in the
    // program's environment, which reaches the host COM starts) rather than InDesign 2.0, and
    // the ProgID that names it.
    static bool current();
    static std::string progId();
    // Ends that host, if it was started.
    static void end();

    // Replaces the documents by `sheet` (host/memory/SheetText.h); clears the log, the counters
    // and every failure asked for. The host is again in the running object table.
    void load(std::string_view sheet);
    std::string dump();
    std::vector<std::string> calls();
    void clearCalls();
    void failOn(std::string_view call, long occurrence = 0);
    void busy(long calls);
    void refuse(std::string_view interfaceName);
    void garble(std::string_view call);
    void hide(std::string_view member);
    void boundsForm(std::string_view form);
    long counter(std::string_view name);
    std::vector<std::string> puts();
    void leaveRunningTable();
    // The current profile's zero point, from the page's top-left corner (host units).
    void zeroPoint(double top, double left);
    // Ends the host process.
    void quit();

private:
    TestHostClient();
    // Calls control member `name` with `arguments`, first one first.
    host::com::Variant call(const wchar_t* name, std::vector<host::com::Variant> arguments = {});
    std::vector<std::string> lines(const wchar_t* name);

    host::com::ComPtr<IDispatch> m_control;
};

}  // namespace testhost
