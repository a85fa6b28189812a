// How the data handler asks the user about a connected unit: the transfer direction
// dialog in the product, a script in tests.
#pragma once

class IUnitPrompter {
public:
    virtual ~IUnitPrompter() = default;
    // Runs on the communicator thread while the wait state is set: when the direction
    // dialog is on screen, offers its two transfer buttons when the link is up, and only
    // its Cancel button otherwise. Must not wait for the UI thread.
    virtual void AdjustTransferChoice(bool linkUp) = 0;
};
