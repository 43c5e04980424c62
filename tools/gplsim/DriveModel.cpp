#include "tools/gplsim/DriveModel.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace lv::sim {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Speed target along the lap (m/s): three fast straights and three slow corners.
double targetSpeed(double fraction, double lapFactor) {
  double wave = std::cos(2 * kPi * 3 * fraction);
  return lapFactor * (46.0 + 22.0 * wave);
}

// Signed curvature along the lap (1/m): high where the speed is low.
double curvatureAt(double fraction, double lengthMetres) {
  double corner = std::max(0.0, -std::cos(2 * kPi * 3 * fraction));
  double base = 2 * kPi / lengthMetres;
  return base + 0.012 * corner * (std::sin(2 * kPi * 3 * fraction) >= 0 ? 1.0 : 0.8);
}

int gearFor(double speedMs) {
  return std::clamp(1 + static_cast<int>(speedMs / 14.0), 1, 5);
}

double rpmFor(double speedMs, int gear) {
  double top = 14.0 * gear + 6.0;
  return std::clamp(3500.0 + 6500.0 * (speedMs - 14.0 * (gear - 1)) / (top - 14.0 * (gear - 1)),
                    2500.0, 10500.0);
}

double torqueFor(double rpm) {
  double x = (rpm - 7500.0) / 3000.0;
  return std::max(60.0, 240.0 - 90.0 * x * x);
}

void fillTelemetry(CarState& car, double x, double y, int lap, double lapFraction, double fuel) {
  TelemetrySample& t = car.telemetry;
  double throttle = std::clamp(0.6 + car.accelerationMs2 / 2.0, 0.0, 1.0);
  double brake = std::clamp((-car.accelerationMs2 - 3.0) / 8.0, 0.0, 1.0);
  if (brake > 0.05) throttle = 0.0;
  double lateral = car.speedKmh / 3.6 * car.speedKmh / 3.6 * car.curvature;
  t[TelemetrySample::kLapDistance] = static_cast<float>(car.distance) / 2000.0f;
  t[TelemetrySample::kClutch] = car.speedKmh < 30 ? 0.6f : 0.0f;
  t[TelemetrySample::kMapX] = static_cast<float>(x);
  t[TelemetrySample::kMapY] = static_cast<float>(y);
  t[TelemetrySample::kThrottle] = static_cast<float>(throttle);
  t[TelemetrySample::kBrake] = static_cast<float>(brake);
  t[TelemetrySample::kRpm] = static_cast<float>(car.rpm);
  t[TelemetrySample::kSpeed] = static_cast<float>(car.speedKmh);
  t[TelemetrySample::kTorque] = static_cast<float>(torqueFor(car.rpm) * throttle);
  t[TelemetrySample::kVertForce] =
      static_cast<float>(5400.0 + 0.9 * car.speedKmh * car.speedKmh / 10.0);
  t[TelemetrySample::kLatForce] = static_cast<float>(600.0 * lateral);
  t[TelemetrySample::kLongForce] = static_cast<float>(600.0 * car.accelerationMs2);
  double heat = 20.0 * std::min(1.0, lap / 3.0);
  for (int wheel = 0; wheel < 4; ++wheel) {
    double side = (wheel % 2 == 0 ? 1.0 : -1.0) * lateral * 0.8;
    double axle = wheel < 2 ? 0.0 : 4.0;
    for (int band = 0; band < 3; ++band) {
      double across = (band - 1) * (3.0 + side);
      t[TelemetrySample::tyreTemp(wheel, band)] =
          static_cast<float>(348.0 + heat + axle + across + (band == 1 ? 2.0 : 0.0));
      t[TelemetrySample::contactPatchTemp(wheel, band)] =
          static_cast<float>(355.0 + heat + axle + across * 1.5 + 4.0 * brake + std::abs(side));
    }
    // Wear grows with the distance driven.
    t[TelemetrySample::wear(wheel)] =
        static_cast<float>(1.0 + 0.004 * (lap + lapFraction) + 0.001 * wheel);
  }
  t[TelemetrySample::kFuel] = static_cast<float>(fuel);
}

}  // namespace

std::int32_t frameDistanceOf(float metres) {
  return static_cast<std::int32_t>(metres * 2000.0f);
}

std::vector<CarState> simulateDrive(const TrackShape& track, int fps, int frameCount,
                                    double startFraction, std::uint32_t seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> variation(0.97, 1.02);
  std::vector<CarState> states(static_cast<std::size_t>(std::max(frameCount, 0)));
  double dt = 1.0 / fps;
  double position = startFraction * track.lengthMetres;
  int lap = 0;
  double lapFactor = variation(random);
  double speed = targetSpeed(startFraction, lapFactor);
  double fuel = 120.0;
  for (CarState& car : states) {
    double fraction = position / track.lengthMetres;
    double target = targetSpeed(fraction, lapFactor);
    double acceleration = std::clamp((target - speed) * 2.0, -11.0, 5.0);
    speed = std::max(8.0, speed + acceleration * dt);
    position += speed * dt;
    if (position >= track.lengthMetres) {
      position -= track.lengthMetres;
      ++lap;
      lapFactor = variation(random);
    }
    fraction = position / track.lengthMetres;
    car.curvature = curvatureAt(fraction, track.lengthMetres);
    // A closed outline in the game's map units.
    double angle = 2 * kPi * fraction;
    double x = 3000.0 * (std::cos(angle) + 0.25 * std::cos(3 * angle));
    double y = 2000.0 * (std::sin(angle) - 0.2 * std::sin(2 * angle));
    double dx = -std::sin(angle) - 0.75 * std::sin(3 * angle);
    double dy = 2.0 / 3.0 * (std::cos(angle) - 0.4 * std::cos(2 * angle));
    double heading = std::atan2(dy, dx);
    fuel = std::max(0.0, fuel - 0.00002 * speed);
    // Whole sixteenths of a metre keep the telemetry float exact.
    car.distance = static_cast<std::int32_t>(std::floor(position * 16.0)) * 125;
    car.lap = lap;
    car.speedKmh = speed * 3.6;
    car.accelerationMs2 = acceleration;
    car.gear = gearFor(speed);
    car.rpm = rpmFor(speed, car.gear);
    car.heading = heading;
    fillTelemetry(car, x, y, lap, fraction, fuel);
  }
  return states;
}

}  // namespace lv::sim
