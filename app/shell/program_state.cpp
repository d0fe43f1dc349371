#include "app/shell/program_state.h"

uint32_t SelectedController = 0;
uint32_t ControllerCount = 0;
uint32_t SuppressStatus = 0;
uint32_t PackageModeFlag = 0;
