#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdint>

// DPI values and the bytes of a DPI level record. The mouse takes, per level, a sensor code
// for X and Y and a flags byte: any bit of 0x22 set means a unit of 100 DPI (else 50), any
// bit of 0x11 set doubles the value; for the sensors "3395" and "3950" bits 8-9 of a 10-bit
// code sit in flag bits 6-7 (and again in bits 2-3). Sensors listed in the sensor header
// (device/SensorHeader.h) take the code of their "SENSOR_<sensor>_DPI_<dpi>" define instead.
// GUI thread only.

// The current model's sensor name (catalogue "Sensor"), set by every sensor page fill.
extern QString CurrentSensorName;

// The current model's DPI ranges from the catalogue's "DPIRange": one to four triples
// minimum, maximum, step, then the range code in hexadecimal (0x11, 0x22 or 0x33; any
// other value gives no range flags).
struct DpiRangeSet {
    int count = 0;
    int code = 0;
    QString minText[4];
    QString maxText[4];
    QString stepText[4];
    QList<int> mins;
    QList<int> maxes;
    QString lowest;   // first range's minimum: the DPI slider's minimum
    QString highest;  // last range's maximum: the DPI slider's maximum
};
extern DpiRangeSet DpiRangeTable;

// Rebuilds DpiRangeTable from a "DPIRange" list. An empty list gives no ranges (count 0,
// code 0); a count outside 1..4 keeps the previous texts and bounds with no numeric ranges.
void LoadDpiRangesFrom(const QStringList& list);
// Reads "DPIRange" of the current device's catalogue group into DpiRangeTable.
void LoadDpiRanges();

// One range as numbers. step is 0 when the catalogue's step is not a positive number: such
// a range snaps nothing and the step buttons leave its values alone.
struct DpiRange {
    int min = 0;
    int max = 0;
    int step = 0;
};
// The ranges in use (count 1..4), in order; empty otherwise.
QVector<DpiRange> DpiRangeList(const DpiRangeSet& table = DpiRangeTable);

// A value lowered onto its range's step, or moved up out of a gap to the next range's
// minimum. pageStep is the step of the range used, 0 when the value was left alone.
struct DpiSnap {
    int value = 0;
    int pageStep = 0;
};
DpiSnap SnapDpi(int value, const DpiRangeSet& table = DpiRangeTable);
// The value one step up or down from the given one (before the slider clamps it).
int StepDpiUp(int value, const DpiRangeSet& table = DpiRangeTable);
int StepDpiDown(int value, const DpiRangeSet& table = DpiRangeTable);

// The three record bytes for a DPI value, given the flags the record holds now.
struct DpiLevelCode {
    uint8_t codeX = 0;
    uint8_t codeY = 0;
    uint8_t flags = 0;
};
DpiLevelCode DpiLevelCodeFor(int dpi, uint8_t currentFlags);

// Writes the code of `dpi` into level `level` (0..7) through SetDpiLevelValue; other levels
// (-1: no level checked) write nothing.
void ApplyLevelDpi(int level, int dpi);

// The DPI value a record's code X and flags stand for; 0 for a code the sensor's table lacks.
int DpiFromLevelRecord(uint8_t codeX, uint8_t flags);
