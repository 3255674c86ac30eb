#pragma once

namespace satorix::link {

// Every wait of the link, in milliseconds. The defaults are the receiver's timing; tests of
// failure paths scale them down, nothing else changes them.
struct LineTimeouts {
    int readIntervalMs = 200;  // a read returns early after this much silence following a byte
    int readConstantMs = 1000; // a read of n bytes waits at most readConstant + n * readPerByte
    int readPerByteMs = 20;
    int writeConstantMs = 1000; // one write attempt of n bytes may take writeConstant + n * writePerByte
    int writePerByteMs = 20;
    int tracePauseMs = 1000; // after each byte of an acknowledgement that lacks its start byte
    int blockPauseMs = 5;    // before each data block sent

    // All values multiplied by factor (0 gives a line that never waits).
    LineTimeouts scaled(double factor) const
    {
        auto s = [factor](int v) { return static_cast<int>(v * factor); };
        return {s(readIntervalMs), s(readConstantMs), s(readPerByteMs), s(writeConstantMs),
                s(writePerByteMs), s(tracePauseMs),   s(blockPauseMs)};
    }
};

} // namespace satorix::link
