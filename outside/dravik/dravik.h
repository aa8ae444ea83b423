#pragma once
// libDravik: a signal-mathematics library (scalars, complex numbers, arrays, windows, transforms,
// filters, statistics) with one dialog, SelectFiltA, that edits a filter settings record.
// The host binds it at run time by name; every export has C linkage.

#include <cstdint>

extern "C" {

struct DravikComplex {
    double re;
    double im;
};

#pragma pack(push, 1)
struct DravikBand {
    double f1; // upper edge
    double f2; // lower edge
    double gain;
};

// The filter settings record (2452 bytes, little-endian), shared with the host byte for byte.
struct DravikFilterRecord {
    double fs;          // frequency scale: a band edge equal to fs is the highest frequency
    int32_t halfLength; // N
    int32_t bandCount;
    int32_t kind;     // the dialog's own choice, kept
    double beta;      // window shape parameter
    double params[3]; // the dialog's own values, kept
    DravikBand bands[100];
};
#pragma pack(pop)

// Opens the filter settings dialog on the record; the record changes only when the user accepts.
// Without a Qt GUI application nothing changes and a line on standard error says so. Returns 1
// when the record was changed, else 0.
int32_t SelectFiltA(DravikFilterRecord* record);

// The 2N + 1 windowed FIR coefficients the record describes (h must hold 2N + 1 doubles); returns
// the count written, 0 when the record describes no filter (N below 2, fs 0) or N exceeds limit.
int32_t FilterACoef(const DravikFilterRecord* record, double* h, int32_t limit);
}
