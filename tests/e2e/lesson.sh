# SPDX-License-Identifier: GPL-3.0-or-later
# The lesson's steps on the panel, the same for every build of the program:
# both units on, both sweep modes, every signal shape, the value sliders from
# the keyboard, the offsets and «Центр», and the oscilloscope switched off
# while the generator runs. After each step the screen is checked: the
# lamps, and where the green trace stands and how long its period is,
# measured from the axis crossing. Sourced after lib.sh, once the panel has
# been found.

key() {
    xdotool key --delay 60 "$@"
    sleep 0.3
}

# The first steps, which every browser takes too.
lesson_first_steps() {
    step "all off"
    expect_lamps "$dark_red" "$dark_red"
    expect_no_trace

    step "oscilloscope on: the short stroke at the trace's first corner"
    expect_scope_switched_on

    step "generator on, sweep along Y: a vertical line 2100 twips tall"
    e2e_click_twips 1087 5587
    e2e_capture
    expect_lamps "$green" "$green"
    trace_box
    near "line height" $((b - t + 1)) "$(peak_to_peak 2100 0.882)" 4
    near "line width" $((r - l + 1)) 2 2

    step "sweep along X and Y: the sine across the screen"
    e2e_click_twips 1207 1507
    e2e_capture
    trace_box
    near "wave left" "$l" 0 1
    near "wave right" "$r" $((screen_w - 1)) 1
    near "wave height" $((b - t + 1)) "$(peak_to_peak 2100 0.9375)" 4
    near "wave middle" $(((t + b) / 2)) "$axis_y" 3
    expect_period 23.81
}

lesson() {
    lesson_first_steps
    # What a build does with both units on and the sine on the screen: the
    # desktop prints it (on_the_sine names the step); nothing unless set.
    "${on_the_sine:-:}"

    step "each signal shape"
    e2e_click_twips 540 4327
    e2e_capture
    expect_period 22.22
    e2e_click_twips 540 4807
    e2e_capture
    expect_period 44.44
    e2e_click_twips 540 4567
    e2e_capture
    expect_period 23.81

    step "gain from the keyboard: End, then Home"
    e2e_click_twips 1117 2252
    key End
    e2e_capture
    trace_box
    near "wave height at gain 11" $((b - t + 1)) "$(peak_to_peak 3850 0.9375)" 4
    key Home
    e2e_capture
    trace_box
    near "wave height at gain 1" $((b - t + 1)) "$(peak_to_peak 350 0.9375)" 3

    step "time per division to the end: the period widens"
    e2e_click_twips 1117 3002
    key End
    e2e_capture
    expect_period 31.75

    step "frequency to the end: the period narrows"
    e2e_click_twips 6450 6007
    key End
    e2e_capture
    expect_period 12.70

    step "voltage: Home flattens the trace away, End gives 700 twips"
    e2e_click_twips 6450 5527
    key Home
    e2e_capture
    expect_no_trace
    key End
    e2e_capture
    trace_box
    near "wave height at 50 V" $((b - t + 1)) "$(peak_to_peak 700 0.9375)" 3

    step "sweep along Y, then the offsets from the keyboard"
    e2e_click_twips 1087 1147
    e2e_click_twips 5407 4687
    key Prior Prior Prior Prior Prior Prior Prior Prior Prior Prior
    e2e_click_twips 8167 1927
    key Next Next Next Next Next Next Next Next Next Next
    e2e_capture
    trace_box
    near "line x, moved right" $(((l + r) / 2)) "$(awk -v a="$axis_x" 'BEGIN { print a + 1000 / 15 }')" 3
    near "line middle, moved down" $(((t + b) / 2)) "$(awk -v a="$axis_y" 'BEGIN { print a + 1000 / 15 }')" 3

    step "«Центр» brings the line back to the axis crossing"
    e2e_click_twips 8167 4627
    e2e_capture
    trace_box
    near "line x" $(((l + r) / 2)) "$axis_x" 3
    near "line middle" $(((t + b) / 2)) "$axis_y" 3

    step "oscilloscope off while the generator runs"
    e2e_click_twips 1567 547
    e2e_capture
    expect_lamps "$dark_red" "$dark_red"
    expect_no_trace
}
