#pragma once
// What the console list asks of one row when it decides which rows a command
// works on. The list answers from its configurations; tests answer from plain
// records, so the rules can be checked without ports, threads or windows.
class ILMConsRow {
public:
    virtual ~ILMConsRow() = default;
    virtual bool IsSelected() const = 0;
    virtual bool IsEnabled() const = 0;
    // The console thread exists.
    virtual bool IsOpen() const = 0;
    // The worker's connection state is connected.
    virtual bool IsConnected() const = 0;
    virtual bool IsPortPresent() const = 0;
    virtual bool IsSerialModeValid() const = 0;
    virtual bool IsPortBusy() const = 0;
};
