/* Sensor definitions read by Kavro Mouse Software.
 * Feature lists: which sensors offer a setting (names joined by commas, no blanks).
 * Code table: SENSOR_<sensor>_DPI_<dpi> gives the sensor code for that DPI value;
 * sensors without a table use the DPI formula. Lines: #define NAME<tab>VALUE */

#define SUPPORT_SENSOR_MODE_SEL	3395,3950
#define SUPPORT_LOD_CAL	3395,3950
#define SUPPORT_RIPPLE	3395,3950,3311
#define SUPPORT_FIXLINE	3395,3950,3311
#define SUPPORT_MOTION_SYNC	3395,3950
#define SUPPORT_MOUSEPAD_CAL	3950

#define SENSOR_3311_DPI_100	0x01
#define SENSOR_3311_DPI_200	0x02
#define SENSOR_3311_DPI_300	0x03
#define SENSOR_3311_DPI_400	0x04
#define SENSOR_3311_DPI_500	0x05
#define SENSOR_3311_DPI_600	0x06
#define SENSOR_3311_DPI_700	0x07
#define SENSOR_3311_DPI_800	0x08
#define SENSOR_3311_DPI_900	0x09
#define SENSOR_3311_DPI_1000	0x0A
#define SENSOR_3311_DPI_1100	0x0B
#define SENSOR_3311_DPI_1200	0x0C
#define SENSOR_3311_DPI_1600	0x10
#define SENSOR_3311_DPI_2400	0x18
#define SENSOR_3311_DPI_3200	0x20
#define SENSOR_3311_DPI_4000	0x28
#define SENSOR_3311_DPI_4800	0x30
#define SENSOR_3311_DPI_5600	0x38
#define SENSOR_3311_DPI_6400	0x40
#define SENSOR_3311_DPI_7200	0x48
#define SENSOR_3311_DPI_8000	0x50
#define SENSOR_3311_DPI_8800	0x58
#define SENSOR_3311_DPI_9600	0x60
#define SENSOR_3311_DPI_10400	0x68
#define SENSOR_3311_DPI_11200	0x70
#define SENSOR_3311_DPI_12000	0x78
