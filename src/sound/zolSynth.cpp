#include "zolSynth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include <allegro.h>

#include "zolSoundMixer.h"

namespace
{
    int Samples(int ms)
    {
        return ms * ZOL_SOUND_RATE / 1000;
    }

    // sin(2 pi cycles) by its series on a quarter wave: libm's sin may round differently from one
    // library to the next, and the samples must come out the same everywhere.
    double Sine(double cycles)
    {
        double t = cycles - std::floor(cycles);
        double sign = 1.0;
        if (t >= 0.5)
        {
            t -= 0.5;
            sign = -1.0;
        }
        if (t > 0.25)
            t = 0.5 - t;
        double x = 6.283185307179586 * t, x2 = x * x;
        double s =
            x * (1.0 - x2 / 6.0 *
                           (1.0 - x2 / 20.0 *
                                      (1.0 - x2 / 42.0 * (1.0 - x2 / 72.0 * (1.0 - x2 / 110.0)))));
        return sign * s;
    }

    class Synth
    {
    public:
        explicit Synth(int lengthMs) : m_buf((size_t)Samples(lengthMs), 0.0) {}

        // A note gliding from f0 to f1 Hz, its harmonics weighted by partials, rising over
        // attackMs and then falling by e every decayMs; its last 8 ms fade out.
        void Tone(int startMs, int lenMs, double f0, double f1, double decayMs,
                  std::initializer_list<double> partials, double amp = 1.0, int attackMs = 4)
        {
            int start = Samples(startMs), n = Samples(lenMs);
            int attack = std::max(1, Samples(attackMs)), release = std::min(n / 2, Samples(8));
            double fall = 1.0 - 1.0 / (decayMs * ZOL_SOUND_RATE / 1000.0);
            double phase = 0.0, env = amp;
            for (int i = 0; i < n && start + i < (int)m_buf.size(); i++)
            {
                double v = 0.0;
                int harmonic = 1;
                for (double w : partials)
                    v += w * Sine(phase * harmonic++);
                double gain = env;
                if (i < attack)
                    gain *= (double)i / attack;
                if (i >= n - release)
                    gain *= (double)(n - i) / release;
                m_buf[start + i] += v * gain;
                phase += (f0 + (f1 - f0) * i / n) / ZOL_SOUND_RATE;
                phase -= std::floor(phase);
                if (i >= attack)
                    env *= fall;
            }
        }

        // White noise through a one-pole low-pass (smooth 0..1: 1 lets everything through),
        // falling by e every decayMs.
        void Noise(int startMs, int lenMs, double decayMs, double smooth, double amp)
        {
            int start = Samples(startMs), n = Samples(lenMs), attack = Samples(2);
            double fall = 1.0 - 1.0 / (decayMs * ZOL_SOUND_RATE / 1000.0), env = amp, y = 0.0;
            for (int i = 0; i < n && start + i < (int)m_buf.size(); i++)
            {
                m_dwNoise ^= m_dwNoise << 13;
                m_dwNoise ^= m_dwNoise >> 17;
                m_dwNoise ^= m_dwNoise << 5;
                double x = (double)(int32_t)m_dwNoise / 2147483648.0;
                y += smooth * (x - y);
                m_buf[start + i] += y * env * std::min(1.0, (double)i / attack) *
                                    std::min(1.0, (double)(n - i) / attack);
                env *= fall;
            }
        }

        // Fades both ends to rest, scales the peak to level (of full scale) and writes it out.
        SAMPLE* Finish(double level)
        {
            int n = (int)m_buf.size(), in = Samples(3), out = Samples(15);
            for (int i = 0; i < in; i++)
                m_buf[i] *= Square(Sine((double)i / in / 4.0));
            for (int i = 0; i < out; i++)
                m_buf[n - 1 - i] *= Square(Sine((double)i / out / 4.0));
            double peak = 1e-9;
            for (double v : m_buf)
                peak = std::max(peak, std::fabs(v));
            SAMPLE* spl = create_sample(16, 0, ZOL_SOUND_RATE, n);
            if (!spl)
                return nullptr;
            unsigned short* data = (unsigned short*)spl->data;
            double scale = level * 32767.0 / peak;
            for (int i = 0; i < n; i++)
            {
                double v = m_buf[i] * scale;
                data[i] = (unsigned short)(0x8000 + (int)std::floor(v + 0.5));
            }
            return spl;
        }

    private:
        static double Square(double v) { return v * v; }

        std::vector<double> m_buf;
        uint32_t m_dwNoise = 0x2545F491u; // xorshift32; never zero
    };

    const double C5 = 523.25, D5 = 587.33, E5 = 659.26, G5 = 783.99, A5 = 880.0, C6 = 1046.5;
    const double G4 = 392.0, B4 = 493.88, D6 = 1174.66, E6 = 1318.51;
}

SAMPLE* zolMakeSound(zolEvent kind)
{
    Synth s(zolSoundMixer::LengthMsOf(kind));
    // Peaks differ by kind so that a click of noise and a held chord sound about as loud; the
    // fight's and the hive's, heard most often, stay below the rest.
    switch (kind)
    {
    case zolEvent::UnitBorn: // a soft rising drop
        s.Tone(0, 105, 620, 930, 40, {1.0, 0.25});
        return s.Finish(0.22);
    case zolEvent::Blow: // a thump and a scuff
        s.Tone(0, 90, 170, 70, 28, {1.0, 0.5, 0.25});
        s.Noise(0, 30, 8, 0.35, 0.6);
        return s.Finish(0.34);
    case zolEvent::TileTaken: // a fifth up, struck like a bell
        s.Tone(0, 170, D5, D5, 80, {1.0, 0.4, 0.12});
        s.Tone(120, 180, A5, A5, 100, {1.0, 0.4, 0.12});
        return s.Finish(0.40);
    case zolEvent::BuildDone: // a major chord, broken upward
        s.Tone(0, 450, C5, C5, 200, {1.0, 0.3, 0.1}, 0.8);
        s.Tone(110, 340, E5, E5, 160, {1.0, 0.3, 0.1}, 0.8);
        s.Tone(220, 230, G5, G5, 130, {1.0, 0.3, 0.1});
        s.Tone(220, 230, C6, C6, 90, {1.0}, 0.3);
        return s.Finish(0.42);
    case zolEvent::RockOpened: // a low rumble with stones falling in it
        s.Noise(0, 380, 140, 0.06, 1.0);
        s.Tone(0, 300, 80, 45, 120, {1.0, 0.3}, 0.5, 10);
        for (int grain = 0; grain < 6; grain++)
            s.Noise(20 + grain * 47 + (grain * 29) % 23, 30, 7, 0.4, 0.5 - grain * 0.06);
        return s.Finish(0.45);
    case zolEvent::MenuMove: // a tick
        s.Tone(0, 50, E6, E6, 14, {1.0, 0.1}, 1.0, 3);
        return s.Finish(0.22);
    case zolEvent::MenuChoice: // two notes, a fifth up
        s.Tone(0, 90, A5, A5, 45, {1.0, 0.2});
        s.Tone(70, 130, E6, E6, 60, {1.0, 0.2});
        return s.Finish(0.32);
    case zolEvent::RedWins: // brassy: up the C major chord, held
    {
        const double chord[3] = {C5, E5, G5};
        for (int n = 0; n < 3; n++)
            s.Tone(n * 180, 1800 - n * 180, chord[n], chord[n], n == 2 ? 500 : 160,
                   {1.0, 0.5, 0.33, 0.25, 0.2}, 0.6, 12);
        s.Tone(540, 1260, C6, C6, 600, {1.0, 0.5, 0.33, 0.25, 0.2}, 1.0, 12);
        return s.Finish(0.50);
    }
    case zolEvent::BlueWins: // mellow: up the G major chord, held
        s.Tone(0, 1800, G4, G4, 180, {1.0, 0.0, 0.2, 0.0, 0.08}, 0.6, 15);
        s.Tone(200, 1600, B4, B4, 400, {1.0, 0.0, 0.2, 0.0, 0.08}, 0.5, 15);
        s.Tone(400, 1400, D5, D5, 500, {1.0, 0.0, 0.2, 0.0, 0.08}, 0.5, 15);
        s.Tone(600, 1200, G5, G5, 600, {1.0, 0.0, 0.2, 0.0, 0.08}, 1.0, 15);
        s.Tone(600, 1200, D6, D6, 300, {1.0}, 0.15, 15);
        return s.Finish(0.50);
    }
    return nullptr;
}
