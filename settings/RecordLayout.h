#pragma once

#include <array>
#include <string_view>

// The one table of the settings block's named fields. Every byte the table does not name
// belongs to the camera and is carried through unchanged.
enum class FieldType
{
    Int32,
    UInt32,
    Text,
    Opaque,
};

struct FieldSpec
{
    std::string_view name;
    int offset;
    int width;
    FieldType type;
};

namespace Field {
using enum FieldType;
// clang-format off
inline constexpr FieldSpec record_size                   {"record_size",                     0,  4, UInt32};
inline constexpr FieldSpec config_version                {"config_version",                  4,  4, UInt32};
inline constexpr FieldSpec product_name                  {"product_name",                    8, 16, Text};
inline constexpr FieldSpec device_private_a              {"device_private_a",               40, 10, Opaque};
inline constexpr FieldSpec video_brightness              {"video_brightness",               64,  4, Int32};
inline constexpr FieldSpec unplaced_switch_100           {"unplaced_switch_100",           100,  4, Int32};
inline constexpr FieldSpec voice_volume_on               {"voice_volume_on",               108,  4, Int32};
inline constexpr FieldSpec voice_volume_level            {"voice_volume_level",            112,  4, Int32};
inline constexpr FieldSpec safety_camera_alert           {"safety_camera_alert",           116,  4, Int32};
inline constexpr FieldSpec continuous_impact_sensitivity {"continuous_impact_sensitivity", 120,  4, Int32};
inline constexpr FieldSpec overwrite_incident_continuous {"overwrite_incident_continuous", 132,  4, Int32};
inline constexpr FieldSpec overwrite_motion_parking      {"overwrite_motion_parking",      136,  4, Int32};
inline constexpr FieldSpec overwrite_incident_parking    {"overwrite_incident_parking",    140,  4, Int32};
inline constexpr FieldSpec overwrite_manual              {"overwrite_manual",              144,  4, Int32};
inline constexpr FieldSpec parking_impact_sensitivity    {"parking_impact_sensitivity",    176,  4, Int32};
inline constexpr FieldSpec parking_mode                  {"parking_mode",                  180,  4, Int32};
inline constexpr FieldSpec motion_sensitivity            {"motion_sensitivity",            196,  4, Int32};
inline constexpr FieldSpec parking_record_hours          {"parking_record_hours",          200,  4, Int32};
inline constexpr FieldSpec cutoff_voltage_12v            {"cutoff_voltage_12v",            204,  4, Int32};
inline constexpr FieldSpec cutoff_voltage_24v            {"cutoff_voltage_24v",            208,  4, Int32};
inline constexpr FieldSpec partition_type                {"partition_type",                212,  4, Int32};
inline constexpr FieldSpec unplaced_radio_choice         {"unplaced_radio_choice",         216,  4, Int32};
inline constexpr FieldSpec device_private_b              {"device_private_b",              224,  4, Opaque};
inline constexpr FieldSpec time_zone_bias                {"time_zone_bias",                372,  4, Int32};
inline constexpr FieldSpec daylight_saving               {"daylight_saving",               376,  4, Int32};
inline constexpr FieldSpec time_zone_name                {"time_zone_name",                380, 32, Text};
inline constexpr FieldSpec speed_unit                    {"speed_unit",                    416,  4, Int32};
inline constexpr FieldSpec lcd_brightness                {"lcd_brightness",                420,  4, Int32};
inline constexpr FieldSpec lcd_auto_off_ms               {"lcd_auto_off_ms",               424,  4, Int32};
inline constexpr FieldSpec device_language               {"device_language",               428,  4, Int32};
inline constexpr FieldSpec winter_month_mask             {"winter_month_mask",             432,  4, UInt32};
inline constexpr FieldSpec aggregate_flag                {"aggregate_flag",                440,  4, Int32};
inline constexpr FieldSpec low_voltage_shutdown          {"low_voltage_shutdown",          464,  4, Int32};
inline constexpr FieldSpec aggregate_input_1             {"aggregate_input_1",             484,  4, Int32};
inline constexpr FieldSpec aggregate_input_2             {"aggregate_input_2",             492,  4, Int32};
inline constexpr FieldSpec aggregate_input_3             {"aggregate_input_3",             500,  4, Int32};
inline constexpr FieldSpec unplaced_switch_508           {"unplaced_switch_508",           508,  4, Int32};
inline constexpr FieldSpec speed_stamp                   {"speed_stamp",                   512,  4, Int32};
inline constexpr FieldSpec unplaced_switch_536           {"unplaced_switch_536",           536,  4, Int32};
inline constexpr FieldSpec unplaced_switch_540           {"unplaced_switch_540",           540,  4, Int32};
inline constexpr FieldSpec mobile_speed_trap_alert       {"mobile_speed_trap_alert",       548,  4, Int32};
// clang-format on

// Every named field in offset order, for tools and tests that walk the layout.
inline constexpr std::array all{
    record_size,
    config_version,
    product_name,
    device_private_a,
    video_brightness,
    unplaced_switch_100,
    voice_volume_on,
    voice_volume_level,
    safety_camera_alert,
    continuous_impact_sensitivity,
    overwrite_incident_continuous,
    overwrite_motion_parking,
    overwrite_incident_parking,
    overwrite_manual,
    parking_impact_sensitivity,
    parking_mode,
    motion_sensitivity,
    parking_record_hours,
    cutoff_voltage_12v,
    cutoff_voltage_24v,
    partition_type,
    unplaced_radio_choice,
    device_private_b,
    time_zone_bias,
    daylight_saving,
    time_zone_name,
    speed_unit,
    lcd_brightness,
    lcd_auto_off_ms,
    device_language,
    winter_month_mask,
    aggregate_flag,
    low_voltage_shutdown,
    aggregate_input_1,
    aggregate_input_2,
    aggregate_input_3,
    unplaced_switch_508,
    speed_stamp,
    unplaced_switch_536,
    unplaced_switch_540,
    mobile_speed_trap_alert,
};
} // namespace Field
