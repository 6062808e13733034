// The short system beep that goes with the frequency check's messages.
const BEEP_HZ = 880;
const BEEP_SECONDS = 0.12;
const BEEP_GAIN = 0.08;

let audio: AudioContext | null = null;

export function beep(): void {
  try {
    audio ??= new AudioContext();
    const tone = audio.createOscillator();
    const gain = audio.createGain();
    tone.frequency.value = BEEP_HZ;
    gain.gain.value = BEEP_GAIN;
    tone.connect(gain).connect(audio.destination);
    tone.start();
    tone.stop(audio.currentTime + BEEP_SECONDS);
  } catch {
    // No sound is no failure: the message follows anyway.
  }
}
