// Fills the engine's service records with the application's windows,
// alerts, dialogs and preferences.
#pragma once

void install_app_services();
