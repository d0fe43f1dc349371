// The keyboard dialogues of the format command: the data-loss confirmation
// and the over-provisioning choice.
#pragma once

#include <cstdint>

// Over-provisioning choices.
enum : uint32_t {
  kOverProvisionQuit = 0,
  kOverProvisionPerformance = 1,
  kOverProvisionNominal = 2,
  kOverProvisionMaxCapacity = 3,
  kOverProvisionMaxLba = 4,
  kOverProvisionPercentage = 5,
};

// 0 when the user types YES (any case); 1 otherwise, after "Operation
// aborted." unless the line was rejected. The end of input declines.
uint32_t ConfirmFormat();

// The over-provisioning menu (and its predefined-level submenu). 0 with the
// choice; 1 after an invalid entry, with the number read as the choice. The
// end of input at either menu answers 0 with the choice quit.
uint32_t SelectOverProvisioning(uint32_t* choice);
