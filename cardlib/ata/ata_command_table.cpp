// The plain ATA commands the library may send to a module.
#include "cardlib/modules/module_commands.h"

const AtaCommandRow AtaCommandTable[kAtaCommandRows] = {
    {0, kAtaDataIn, 0xEC, 0x00},   // IDENTIFY DEVICE
    {1, kAtaDataOut, 0x92, 0x07},  // DOWNLOAD MICROCODE, download and save
    {2, kAtaDataOut, 0x92, 0x01},  // DOWNLOAD MICROCODE
    {3, kAtaNoData, 0x08, 0x00},   // DEVICE RESET
    {4, kAtaNoData, 0xF3, 0x00},   // SECURITY ERASE PREPARE
    {5, kAtaDataOut, 0xF4, 0x00},  // SECURITY ERASE UNIT
    {6, kAtaDataIn, 0xB0, 0xD5},   // SMART READ LOG
    {7, kAtaDataIn, 0xB0, 0xD5},   // SMART READ LOG
    {8, kAtaDataOut, 0xB0, 0xD6},  // SMART WRITE LOG
    {9, kAtaDataOut, 0xB0, 0xD6},  // SMART WRITE LOG
    {10, kAtaDataOut, 0xF1, 0x00}, // SECURITY SET PASSWORD
};
