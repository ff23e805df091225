/* The tool check's question, shared by the resource script and the code
   that fills it. Plain macros: the resource compiler reads this. */
#pragma once

#define IDD_TOOL_SIZE 400
#define IDC_TOOL_SIZE_LABEL 401
#define IDC_TOOL_SIZE 402
