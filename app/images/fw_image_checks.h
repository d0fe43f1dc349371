// The checks a controller firmware image file passes before it is written
// to the controller: signatures, the word checksum, the chain of extended
// images, the supported devices against the controller, the NVDATA image
// against the controller and the firmware in flash, the initialization and
// boot-loader images. Every check only reads the image and never reads
// outside its `size` bytes: a file shorter than its header, an extended
// image chain that leaves the file or points back to an earlier image, or
// data that runs past the end make the image invalid.
#pragma once

#include <cstdint>
#include <string>

// The controller's identity from its AdapterInfoBlock: 1 with the PCI
// device ID, chip revision and subsystem ID; 0 with all three 0 when the
// block cannot be read or carries no device ID (a device ID of 0 is never
// compared with an image or written into one).
uint32_t GetControllerPciIds(uint32_t adapter, uint16_t* deviceId, uint8_t* revision, uint16_t* subsystemId);

// The wrapping sum of the (size + 3) / 4 little-endian words of the image;
// a last partial word counts its missing bytes as 0. 0 for a valid image.
uint32_t FwImageChecksum(const uint8_t* image, uint32_t size);

// True when the image holds the header and its four signature words.
bool HasFwSignature(const uint8_t* image, uint32_t size);

// The extended image of a type: 1 with the offset of its header (and its
// size from the header when asked); 0 when the signature words are wrong,
// the image has no extended images, none is of the type, or the chain is
// broken anywhere (a link outside the file or not past the one before it).
uint32_t FindFwExtImage(const uint8_t* image, uint32_t size, uint8_t type, uint32_t* header, uint32_t* extSize);

// 1 when the controller's device ID is in the supported-devices image with
// a revision range that holds the controller's revision (each refusal
// printed), else 0. A controller whose identity cannot be read is refused.
uint32_t CheckSupportedDevices(uint32_t adapter, const uint8_t* image, uint32_t size);

// The NVDATA image of the file against the controller and the flash copy
// (flash null for none): identity, no downgrade (unless skipVersionCheck and
// no package is running), and the vendor and product identification, the
// user deciding on a mismatch. 1 compatible, 0 not. A file whose NVDATA or
// PROD_ID signature is wrong is refused.
uint32_t CheckNvdataCompat(uint32_t adapter, const uint8_t* file, uint32_t fileSize, const uint8_t* flash,
                           uint32_t flashSize, uint32_t skipVersionCheck, uint32_t skipIdentityCheck);

// 0 (after its message) when both identifier words of the file differ from
// the flash copy's, else 1.
uint32_t CheckFwProductVendorId(const uint8_t* file, uint32_t fileSize, const uint8_t* flash, uint32_t flashSize);

// Every check in order, each printing its line; the flash copy is read
// from the controller. 1 valid; 0 after "\t\tFirmware Image Validation
// Failed! \n\n". The status outputs come from the flash-copy upload.
uint32_t ValidateFwImage(const uint8_t* image, uint32_t size, uint32_t adapter, uint16_t* iocStatus,
                         uint32_t* iocLogInfo, uint32_t skipVersionCheck, uint32_t skipIdentityCheck);

// The board name at the header's board-name field, up to its terminator,
// the field's width or the file's end: true when the file holds the field's
// first byte.
bool ReadFwBoardName(const uint8_t* image, uint32_t size, std::string* name);
