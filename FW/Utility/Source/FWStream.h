// An abstract byte stream that reads and writes typed scalars in a chosen byte order. A back
// end supplies the five storage operations; every typed operation goes through them, so the
// byte layout of a value is the same on every back end.
#pragma once

#include "FWPlatform.h"

#include <cstdint>

class FWStream {
public:
    enum tIOMode : int32_t {
        kReadOnly = 0,
        kWriteOnly = 1,
        kReadWrite = 2,
    };

    FWStream(tIOMode mode, FWPlatform::tByteOrder order) : mMode(mode), mByteOrder(order) {}
    virtual ~FWStream() = default;
    FWStream(const FWStream&) = delete;
    FWStream& operator=(const FWStream&) = delete;

    // Storage, supplied by the back end. Positions and sizes are byte counts. A read that
    // cannot deliver all n bytes throws FWReadFailedException.
    virtual void ReadData(void* p, uint32_t n) = 0;
    virtual void WriteData(const void* p, uint32_t n) = 0;
    virtual uint32_t GetStreamPosition() = 0;
    virtual void SetStreamPosition(uint32_t position) = 0;
    virtual uint32_t GetStreamSize() = 0;

    // Typed writes. Widths: Bool, SChar, UChar, Char 1; Short 2; Long, Float 4; Double 8;
    // LongDouble 16 (the in-memory form, swapped as one unit; reported as unportable).
    virtual void WriteBool(bool value);
    virtual void WriteSChar(int8_t value);
    virtual void WriteUChar(uint8_t value);
    virtual void WriteChar(char value);
    virtual void WriteShort(int16_t value);
    virtual void WriteUShort(uint16_t value);
    virtual void WriteLong(int32_t value);
    virtual void WriteULong(uint32_t value);
    virtual void WriteFloat(float value);
    virtual void WriteDouble(double value);
    virtual void WriteLongDouble(long double value);

    // Typed reads, the same widths. A Bool is any non-zero byte.
    virtual bool ReadBool();
    virtual int8_t ReadSChar();
    virtual uint8_t ReadUChar();
    virtual char ReadChar();
    virtual int16_t ReadShort();
    virtual uint16_t ReadUShort();
    virtual int32_t ReadLong();
    virtual uint32_t ReadULong();
    virtual float ReadFloat();
    virtual double ReadDouble();
    virtual long double ReadLongDouble();

    tIOMode GetMode() const { return mMode; }
    FWPlatform::tByteOrder GetByteOrder() const { return mByteOrder; }

    // Throw FWWriteAccessException on a read-only stream, FWReadAccessException on a
    // write-only one.
    void VerifyWriteAccess() const;
    void VerifyReadAccess() const;

private:
    template <class T>
    void writeScalar(T value);
    template <class T>
    T readScalar();

    tIOMode mMode;
    FWPlatform::tByteOrder mByteOrder;
};
