#pragma once
// Resource and control ids of the test console.
