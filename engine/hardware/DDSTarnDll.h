#pragma once
// The generator access library. The engine only calls these; the program links the
// simulated bank (hwsim/) or, through it, a real driver named by DDSTARN_DRIVER.

#ifdef __cplusplus
extern "C" {
#endif

int DDSSearch(void);
int DDSCheck(int index);
int DDSSetFrequency(int index, double frequency, int* points, int* periods);
int DDSDownload(int index, const unsigned short* samples, int count);
int DDSSetSingleWave(int index, int on);
int DDSSetTrigger(int index, int on, int edge);
int DDSSetPowerOnOutput(int index, int on);
int DDSGetMeasure(int index, int mode, double* value);
int DDSResetCounter(int index);
int DDSSetDIOMode(int index, int mode);
int DDSSetDigitalOut(int index, unsigned short value);
int DDSGetDigitalIn(int index, unsigned short* value);

#ifdef __cplusplus
}
#endif
