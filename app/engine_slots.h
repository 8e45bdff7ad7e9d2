// Fills every slot record (the engine's services and the user interface's)
// with the application's windows, alerts, dialogs, event loop and preferences.
#pragma once

void install_app_services();
