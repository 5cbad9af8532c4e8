// Watermark drawing: between DL_WATERMARK_BEGIN and DL_WATERMARK_END every
// request is painted in its colour through a shade pattern chosen from that
// colour, so that the watermark lies under the page's text as a screen.
#pragma once

#include <cstdint>

#include "render_state.h"

constexpr int kWMColourFamilies = 14;
constexpr int kWMShades = 5;  // extra dark, dark, medium, light, extra light
constexpr int kWMShadeMedium = 2;

// The watermark colours the driver offers (0x00RRGGBB), by family and shade.
extern const uint32_t adwWMColors[kWMColourFamilies][kWMShades];

// Pattern bytes of each shade: pixel n of a row is painted when bit 7 - n%8
// of the row's byte is set; the bytes rotate with the row.
extern const uint8_t abExDark[4];
extern const uint8_t abDark[4];
extern const uint8_t abMedium[4];
extern const uint8_t abLight[4];
extern const uint8_t abExLight[4];

// Shade 0..4 of req->colour: the first table entry equal to it, else medium.
int FindShadowId(const TRect* req);

// A request without a mask, and one with a mask (drawn where the mask is
// set). Both are clipped to the band rows already (DoRender); they read the
// pixel depth and the band's last column, and write through req->dest.
void DrawWaterMarkHD(const RenderPage& page, const BandWindow& window, TRect* req);
void DrawWaterMarkSHD(const RenderPage& page, const BandWindow& window, TRect* req);
