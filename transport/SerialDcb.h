#pragma once
// The serial device control block as a portable record: the fields and
// meanings of the platform's DCB (same names, same values), without the
// platform header, so that mode strings can be parsed and printed anywhere.
// The platform edge copies it to and from a real DCB with NCopyDcb.
#include <cstdint>

struct NSerialDcb {
    enum : uint8_t { kNoParity = 0, kOddParity = 1, kEvenParity = 2, kMarkParity = 3, kSpaceParity = 4 };
    enum : uint8_t { kOneStopBit = 0, kOne5StopBits = 1, kTwoStopBits = 2 };
    enum : uint8_t { kDtrDisable = 0, kDtrEnable = 1, kDtrHandshake = 2 };
    enum : uint8_t { kRtsDisable = 0, kRtsEnable = 1, kRtsHandshake = 2, kRtsToggle = 3 };

    uint32_t DCBlength = 28;
    uint32_t BaudRate = 9600;
    uint8_t fBinary = 1;
    uint8_t fParity = 0;
    uint8_t fOutxCtsFlow = 1;
    uint8_t fOutxDsrFlow = 0;
    uint8_t fDtrControl = kDtrEnable;  // 2 bits
    uint8_t fDsrSensitivity = 0;
    uint8_t fTXContinueOnXoff = 0;
    uint8_t fOutX = 0;
    uint8_t fInX = 0;
    uint8_t fErrorChar = 0;
    uint8_t fNull = 0;
    uint8_t fRtsControl = kRtsHandshake;  // 2 bits
    uint8_t fAbortOnError = 0;
    uint16_t XonLim = 10;
    uint16_t XoffLim = 10;
    uint8_t ByteSize = 8;
    uint8_t Parity = kNoParity;
    uint8_t StopBits = kOneStopBit;
    char XonChar = 17;
    char XoffChar = 19;
    char ErrorChar = 0;
    char EofChar = 0;
    char EvtChar = 0;

    // The device control block of a new port object (the members' initial values).
    static NSerialDcb Default() { return NSerialDcb{}; }

    bool operator==(const NSerialDcb&) const = default;
};

// Copies between NSerialDcb and any record with the DCB's member names (the
// platform's DCB). The reserved members of the target are left alone.
template <class TDcb>
void NCopyDcb(const NSerialDcb& from, TDcb& to)
{
    to.DCBlength = sizeof(TDcb);
    to.BaudRate = from.BaudRate;
    to.fBinary = from.fBinary & 1;
    to.fParity = from.fParity & 1;
    to.fOutxCtsFlow = from.fOutxCtsFlow & 1;
    to.fOutxDsrFlow = from.fOutxDsrFlow & 1;
    to.fDtrControl = from.fDtrControl & 3;
    to.fDsrSensitivity = from.fDsrSensitivity & 1;
    to.fTXContinueOnXoff = from.fTXContinueOnXoff & 1;
    to.fOutX = from.fOutX & 1;
    to.fInX = from.fInX & 1;
    to.fErrorChar = from.fErrorChar & 1;
    to.fNull = from.fNull & 1;
    to.fRtsControl = from.fRtsControl & 3;
    to.fAbortOnError = from.fAbortOnError & 1;
    to.XonLim = from.XonLim;
    to.XoffLim = from.XoffLim;
    to.ByteSize = from.ByteSize;
    to.Parity = from.Parity;
    to.StopBits = from.StopBits;
    to.XonChar = from.XonChar;
    to.XoffChar = from.XoffChar;
    to.ErrorChar = from.ErrorChar;
    to.EofChar = from.EofChar;
    to.EvtChar = from.EvtChar;
}

template <class TDcb>
void NCopyDcb(const TDcb& from, NSerialDcb& to)
{
    to.DCBlength = 28;
    to.BaudRate = from.BaudRate;
    to.fBinary = static_cast<uint8_t>(from.fBinary);
    to.fParity = static_cast<uint8_t>(from.fParity);
    to.fOutxCtsFlow = static_cast<uint8_t>(from.fOutxCtsFlow);
    to.fOutxDsrFlow = static_cast<uint8_t>(from.fOutxDsrFlow);
    to.fDtrControl = static_cast<uint8_t>(from.fDtrControl);
    to.fDsrSensitivity = static_cast<uint8_t>(from.fDsrSensitivity);
    to.fTXContinueOnXoff = static_cast<uint8_t>(from.fTXContinueOnXoff);
    to.fOutX = static_cast<uint8_t>(from.fOutX);
    to.fInX = static_cast<uint8_t>(from.fInX);
    to.fErrorChar = static_cast<uint8_t>(from.fErrorChar);
    to.fNull = static_cast<uint8_t>(from.fNull);
    to.fRtsControl = static_cast<uint8_t>(from.fRtsControl);
    to.fAbortOnError = static_cast<uint8_t>(from.fAbortOnError);
    to.XonLim = from.XonLim;
    to.XoffLim = from.XoffLim;
    to.ByteSize = from.ByteSize;
    to.Parity = from.Parity;
    to.StopBits = from.StopBits;
    to.XonChar = from.XonChar;
    to.XoffChar = from.XoffChar;
    to.ErrorChar = from.ErrorChar;
    to.EofChar = from.EofChar;
    to.EvtChar = from.EvtChar;
}
