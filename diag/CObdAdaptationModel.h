// What the OBD adaptation panel decides from the unit's data, apart from its window: the
// link state it shows (an "i/o error" only once it has lasted), the state of the adaptation
// button against a pending switch request, the colour of the correction sum, and the
// injection times that all panels fold together. Colours are 0x00BBGGRR values.
#pragma once

#include "classlib/core/WinTypes.h"

#include <cstdint>

class CObdAdaptationModel {
public:
    using Colour = std::uint32_t;

    static constexpr int kInjectors = 8;
    static constexpr LONG kIoErrorDelayMs = 2000;
    static constexpr int kNoRequest = 0;
    static constexpr int kOnRequested = 1;
    static constexpr int kOffRequested = 2;

    static constexpr Colour Rgb(int r, int g, int b) { return static_cast<Colour>(r | (g << 8) | (b << 16)); }

    static constexpr Colour kOnColour = 0x3E | (0xE8 << 8) | (0x11 << 16);
    static constexpr Colour kOffColour = 0xF7 | (0x03 << 8) | (0x2F << 16);

    struct Button {
        bool showsOn;  // "Adaptation ON", else "Adaptation OFF"
        bool pressed;
        bool blinking;  // a request waits for the unit; not active then
        Colour textColour;
    };

    // The link code to show for a status byte's code at the program clock's time: a code 1
    // ("i/o error") replaces the code shown only after it lasted more than 2000 ms.
    int ShowLink(int code, LONG nowMs);

    int GetShownLink() const { return m_shownLink; }

    // No status byte yet (start, connection lost): the link shows nothing.
    void ForgetStatus();

    // The button for what the unit says, clearing the request once the unit follows it.
    Button DecideButton(bool unitOn);

    // The user pressed (true) or released the button: the byte to write to element 98.
    BYTE RequestSwitch(bool pressed);

    int GetRequest() const { return m_request; }

    // The colour of the correction sum by ClassifyRevInjection's result; 0 is black.
    static Colour SumColour(int classification);

    // Folds element 27's injection times into the times that all panels share (a time of 1
    // to 999 keeps the old entry) and returns their average over the non-zero ones.
    static int FoldInjectionTimes(const int* times);

    static void ClearInjectionTimes();

private:
    int m_shownLink = 0;
    LONG m_ioErrorSince = -1;
    int m_request = kNoRequest;
};
