#pragma once

#include <cstdint>

// Hue, luminance and saturation (doubles in 0..1) to and from SNES colour words.
// Every operation is done in double precision in the written order and every
// conversion to an integer truncates: the lossy round trip is part of the design.

double HueToRGB(double m1, double m2, double h);

std::uint16_t HLSToSNES(double hue, double lum, double sat);

void SNESToHLS(std::uint16_t color, double* hue, double* sat, double* lum);

// The Edit Color dialog's 0..30 field value of an HLS value: truncate(x x 30.0).
int HLSToField(double value);
// An HLS value from a 0..30 field value: value x 0.03333333333333333.
double FieldToHLS(int value);
