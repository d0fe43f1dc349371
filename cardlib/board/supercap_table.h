// The SuperCap wear table of manufacturing page 10 and the judgement of the
// SuperCap's health against it.
#pragma once

#include <cstdint>

// Judges the health H after P power-on hours with the table of the page
// (pageSize bytes held). At or below the floor: error. Otherwise the
// expected health E is interpolated between the table entries around P and
// written out; at or below E less the margin: at least a warning. Beyond
// the table: error. 1 (status and E untouched) for a page without the
// table marker, with a step of 0, or too short for the fields and entries.
uint32_t JudgeSuperCapHealth(const uint8_t* page, uint32_t pageSize, uint16_t powerOnHours, uint16_t health,
                             uint16_t* expectedHealth, uint32_t* status);
