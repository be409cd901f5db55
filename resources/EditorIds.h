#pragma once
// Resource and control ids of the command list editor.
