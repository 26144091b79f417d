#pragma once

// The search runs a progress bar from 0 to 130 in steps of 10, one step a
// second, and stops on the thirteenth step.
constexpr int SearchProgressMinimum = 0;
constexpr int SearchProgressMaximum = 130;
constexpr int SearchProgressStep = 10;
constexpr int SearchTickIntervalMs = 1000;

struct ProgressStep {
    int position; // the bar's new position
    bool stop;    // the timer is to stop
};

// One tick: the stop flag is set when the bar stands one step below its maximum.
ProgressStep ProgressTick(int position, int maximum);
