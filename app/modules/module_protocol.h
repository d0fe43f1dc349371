// The protocol a module in a slot is flashed with, as the card reports it:
// a module that speaks SAS takes its firmware as SCSI WRITE BUFFER and
// has no ATA or SCT commands, so this is asked of the card rather than
// assumed (GetDeviceProtocol, which every other module command uses,
// answers SATA for every slot).
#pragma once

#include <cstdint>

// kProtocolSas, kProtocolSata or kProtocolOther (device_protocol.h) from SAS
// device page 0 of the DevHandle of the module (a device of its own or a
// volume member, LibZKGetSSDHandle). 0; 1 when the module's record cannot
// be read or the page's buffer cannot be had.
uint32_t ModuleProtocol(uint32_t vxHandle, uint32_t ssdHandle, uint32_t* protocol);

// The module's firmware download by its protocol: SCSI WRITE BUFFER for
// SAS, else ATA DOWNLOAD MICROCODE with the mode. 0 downloaded, else 1.
uint32_t DownloadModuleImage(uint32_t adapterIndex, uint8_t slot, uint32_t protocol, const uint8_t* image,
                             uint32_t size, uint8_t mode);
