// A customer's request as the benchmarks price it: a hundred typical coils,
// every former and material, wires from 0.1 to 1 mm, a few hundred to a
// couple of thousand turns, each with its names and terms.
#pragma once

#include <random>
#include <string>

#include "job/job.h"
#include "job/price_list.h"

namespace kelvane::bench {

inline job::Job typicalRequest(std::size_t items = job::kMaxItems) {
  std::mt19937 random(7);
  auto pick = [&](std::initializer_list<const char*> choices) {
    return std::string(
        choices.begin()[std::uniform_int_distribution<std::size_t>(0, choices.size() - 1)(random)]);
  };
  job::Job request;
  request.fields.customer = "株式会社サンプル電機";
  request.fields.quotationNumber = "Q2026-118";
  request.items.clear();
  for (std::size_t i = 0; i < items; ++i) {
    job::Item item;
    item.partNumber = "KC-" + std::to_string(1000 + i);
    item.name = "巻線コイル " + std::to_string(i + 1);
    const std::string d = pick({"0.1", "0.2", "0.3", "0.5", "0.8", "1"});
    item.input(InputBox::BareDiameter) = d;
    item.input(InputBox::FinishedDiameter) = std::to_string(std::stod(d) * 1.08).substr(0, 5);
    item.input(InputBox::Turns) = std::to_string(std::uniform_int_distribution(100, 2000)(random));
    item.input(InputBox::ReferenceThickness) = pick({"5", "8", "10", "20"});
    item.input(InputBox::InnerDiameter) = pick({"8", "10", "25"});
    item.input(InputBox::SideA) = pick({"6", "12"});
    item.coil.former = static_cast<FormerShape>(i % 3);
    item.coil.material = static_cast<ConductorMaterial>((i / 3) % 3);
    item.terms = job::termsFor(job::builtInPriceList(), item.coil.material, std::stod(d)).value();
    request.items.push_back(std::move(item));
  }
  return request;
}

}  // namespace kelvane::bench
