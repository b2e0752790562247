old.dat:3.2: error: Employee_ID of type 'SSN' contains non-numeric character [SSNNN]
