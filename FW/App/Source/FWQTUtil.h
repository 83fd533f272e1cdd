// Start and stop of the movie toolbox, which the application brings up for its whole run.
#pragma once

class FWQTUtil {
public:
    // True on success.
    static bool InitQuickTime();
    static void CloseQuickTime();
};
