#pragma once

namespace orv::test {

/// While it lives, file permissions hold for the calling thread as they do
/// for an ordinary user, also when the tests run as root: root's power to
/// read, write and search past them (CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH)
/// is dropped from the thread's effective set and given back at the end.
/// For tests of files that cannot be opened or folders that cannot be
/// written. Other threads keep what they had.
class PermissionsHold {
public:
    PermissionsHold();
    PermissionsHold(const PermissionsHold&) = delete;
    PermissionsHold& operator=(const PermissionsHold&) = delete;
    ~PermissionsHold();

    /// True when permissions do hold now: a file of mode 0000 could not be
    /// opened. A test that needs them asserts this first.
    [[nodiscard]] bool isHolding() const { return holding_; }

private:
    bool dropped_ = false;
    bool holding_ = false;
};

} // namespace orv::test
