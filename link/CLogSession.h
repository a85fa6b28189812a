// Configures the process-wide logger for the configurator at start-up.
#pragma once

class CLogSession {
public:
    CLogSession();
};
