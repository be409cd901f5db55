#pragma once
// Resource and control ids of the CT-BCS panel and its parameter and waiting dialogs.
