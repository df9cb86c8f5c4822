// Start-up of the platform services the runtime relies on: the common
// controls beyond the standard ones and the component services.
#pragma once

// Registers the tab, hot-key, date, extended combo box and internet address
// control classes and initialises the component services for this thread.
void init_runtime_services();
