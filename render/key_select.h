// Choosing a subobject's position and rotation key for the current keyframe.
#pragma once

#include <cstdint>

constexpr uint32_t NO_KEY = 0xFFFFFFFFu;

// The frame number the current keyframe stands for; NO_KEY when cur_keyframe is outside the table.
uint32_t target_frame();

// Index into the store's position keys, or NO_KEY.
uint32_t select_position_key(int sobj, uint32_t target);

// Index into the store's rotation keys, or NO_KEY. The subobject's last rotation key counts
// only when its frame is exactly the target.
uint32_t select_rotation_key(int sobj, uint32_t target);

// The subobject's last rotation key (whose axis a $rotate spin turns about), or NO_KEY.
uint32_t last_rotation_key(int sobj);
