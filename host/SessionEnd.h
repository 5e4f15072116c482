#pragma once

// What the end of a run means for the host an adapter serves. The launcher
// keeps the adapter's session beside the application object it registers,
// ends it once, after the window has gone and the tool has released every
// host reference it held, and then lets it go: an adapter over a live host
// releases its own references and closes its connection in its destructor.

namespace host {

class SessionEnd {
public:
    virtual ~SessionEnd() = default;

    // The tool ended normally (Forget, Reflect, the window closed): keep what
    // the run changed. A document host saves the documents it changed; a live
    // host has nothing to save. Throws HostError when that fails.
    virtual void endNormally() = 0;

    // The tool ended after an error report: write nothing more to the user's
    // documents. Never throws.
    virtual void endAfterError() noexcept = 0;
};

}  // namespace host
