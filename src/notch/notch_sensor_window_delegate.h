#pragma once

// Hears what the pointer does over the notch. Implemented by QObjects only:
// the sensor window holds its delegate weakly and drops notifications once
// the object is gone.
class NotchSensorWindowDelegate
{
public:
    virtual ~NotchSensorWindowDelegate() = default;

    virtual void sensorMouseEntered() = 0;
    virtual void sensorMouseExited() = 0;
    virtual void sensorClicked() = 0;
};
