// The VPD of manufacturing page 1 as -showvpd prints it: the identifier
// string (the product name), then every keyword of the large resources that
// follow it, up to the end tag.
#pragma once

#include <cstddef>
#include <cstdint>

// Prints the VPD of the page: `page` holds `size` bytes of it, header
// first. Only bytes inside both the VPD area and what the page holds are
// read; a page that holds less than its header, or whose area does not start
// with the identifier string, prints that the VPD is not programmed; a walk
// that ends without the end tag (at another small tag, at the end of the
// area, or at a resource that runs past it, which is not shown) prints that
// the VPD is incomplete.
void PrintVpdInfo(const uint8_t* page, size_t size);

// Prints the keywords of one large resource's data (`length` bytes): each as
// its text, "RV" as its first data byte in hexadecimal. The keywords end
// where one's header or data would run past the resource's data.
void PrintVpdKeywords(size_t length, const uint8_t* data);
