// Qorin5's time factors: both fields swing between -1 and 1 as bouncing triangle waves, and a
// change of speed keeps each step's direction. Pure arithmetic, so the tests can use it alone.
#pragma once

// 1.0 for zero and above, -1.0 for anything else, a value that is not a number included.
inline double SignOf(double x)
{
    return x >= 0 ? 1.0 : -1.0;
}

// One running frame of a factor: an overshoot past 1 or -1 is folded back by as much as it went
// over (1.05 becomes 0.95) and the step turns round.
inline void StepFactor(double& factor, double& step)
{
    factor = factor + step;
    if (factor > 1) {
        if (step > 0)
            step = -step;
        factor = 1 - (factor - 1);
    }
    if (factor < -1) {
        if (step < 0)
            step = -step;
        factor = -1 - (factor + 1);
    }
}
